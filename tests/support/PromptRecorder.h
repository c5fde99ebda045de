#pragma once
// Answers the program's prompts in place of the user while it lives and keeps what each one
// asked. The answer is a button id (IDOK unless told) or a function of the request, which runs
// on the prompting thread with nothing on screen.
#include "framework/UserPrompt.h"

#include <functional>
#include <mutex>
#include <vector>

class CPromptRecorder {
public:
    explicit CPromptRecorder(int answer = IDOK)
        : CPromptRecorder([answer](const nvx::PromptRequest&) { return answer; }) {}
    explicit CPromptRecorder(std::function<int(const nvx::PromptRequest&)> answer)
        : answer_(std::move(answer)), scope_([this](const nvx::PromptRequest& request) {
              {
                  std::lock_guard lock(mutex_);
                  requests_.push_back(request);
              }
              return answer_(request);
          }) {}
    CPromptRecorder(const CPromptRecorder&) = delete;
    CPromptRecorder& operator=(const CPromptRecorder&) = delete;

    std::vector<nvx::PromptRequest> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }
    std::vector<std::wstring> Texts() const {
        std::vector<std::wstring> texts;
        for (const nvx::PromptRequest& request : Requests())
            texts.push_back(request.text);
        return texts;
    }

private:
    std::function<int(const nvx::PromptRequest&)> answer_;
    mutable std::mutex mutex_;
    std::vector<nvx::PromptRequest> requests_;
    nvx::CPromptAnswererScope scope_; // last: it goes first, before what it records into
};
