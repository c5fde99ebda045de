#include "net/CancelRequest.h"

bool CancelRequest::IsCancelRequested() {
    return cancel_event && ::WaitForSingleObject(cancel_event, 0) == WAIT_OBJECT_0;
}

bool CancelRequest::IsPauseRequested() {
    return resume_gate && ::WaitForSingleObject(resume_gate, 0) != WAIT_OBJECT_0;
}
