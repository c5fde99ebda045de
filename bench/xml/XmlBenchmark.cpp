// Load + full walk of generated documents with the reader, against pugixml parsing the same
// bytes. Counters: throughput (bytes of the file per second), elements, and, from one extra
// counted run outside the timing, the memory the loaded document keeps (text and index) against
// the goal (UTF-16 text plus 32 bytes per element) and the memory needed at the peak.
#include "AllocationCounter.h"
#include "BenchDocuments.h"
#include "tests/xml/XmlWalk.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdlib>
#include <malloc.h>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr size_t kMegabyte = size_t{1} << 20;

std::string DataFolder() {
    const char* folder = std::getenv("NVX_BENCH_DATA");
    return folder != nullptr ? folder : "bench-data";
}

std::string DocumentPath(const benchmark::State& state) {
    auto kind = static_cast<BenchDocumentKind>(state.range(0));
    return BenchDocumentPath(DataFolder(), kind, static_cast<size_t>(state.range(1)) * kMegabyte);
}

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void SetLabel(benchmark::State& state) {
    state.SetLabel(std::string(state.range(0) == 0 ? "elements " : "text ") + std::to_string(state.range(1)) +
                   "MB");
}

// One instrumented load and walk, outside the timed runs: what the loaded document keeps (text
// and index) against the goal of its UTF-16 text plus 32 bytes per element, and the peak.
void ReportReaderMemory(benchmark::State& state, const std::wstring& path) {
    CHeapMeasurement heap;
    XmlDocument document;
    if (!document.Load(path)) {
        state.SkipWithError("the generated document did not load");
        return;
    }
    long elements = WalkEveryElement(document, [](const std::wstring&) {});
    auto kept = static_cast<double>(heap.BytesInUse());
    size_t characters = document.Text().size();
    double unit_size = sizeof(document.Text()[0]);
    double goal = static_cast<double>(characters) * 2 + 32.0 * static_cast<double>(elements);
    state.counters["elements"] = static_cast<double>(elements);
    state.counters["index_B/elem"] =
        static_cast<double>(document.IndexBytes()) / static_cast<double>(elements);
    state.counters["text_MB"] = static_cast<double>(characters) * unit_size / kMegabyte;
    state.counters["kept_MB"] = kept / kMegabyte;
    state.counters["goal_MB"] = goal / kMegabyte;
    state.counters["peak_MB"] = static_cast<double>(heap.PeakBytes()) / kMegabyte;
}

void LoadAndWalk(benchmark::State& state) {
    std::string path = DocumentPath(state);
    std::wstring wide_path(path.begin(), path.end());
    size_t file_bytes = ReadAll(path).size();
    for (auto _ : state) {
        XmlDocument document;
        if (!document.Load(wide_path))
            state.SkipWithError("the document did not load");
        size_t characters = 0;
        WalkEveryElement(document, [&characters](const std::wstring& text) { characters += text.size(); });
        benchmark::DoNotOptimize(characters);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file_bytes));
    ReportReaderMemory(state, wide_path);
    SetLabel(state);
}

void PugixmlParse(benchmark::State& state) {
    std::vector<char> bytes = ReadAll(DocumentPath(state));
    for (auto _ : state) {
        pugi::xml_document document;
        if (!document.load_buffer(bytes.data(), bytes.size()))
            state.SkipWithError("pugixml did not parse the document");
        benchmark::DoNotOptimize(document.first_child());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
    CHeapMeasurement heap;
    {
        pugi::xml_document document;
        document.load_buffer(bytes.data(), bytes.size());
        state.counters["kept_MB"] = static_cast<double>(heap.BytesInUse()) / kMegabyte;
    }
    state.counters["peak_MB"] = static_cast<double>(heap.PeakBytes()) / kMegabyte;
    SetLabel(state);
}

void PugixmlLoadFileAndWalk(benchmark::State& state) {
    std::string path = DocumentPath(state);
    size_t file_bytes = ReadAll(path).size();
    for (auto _ : state) {
        pugi::xml_document document;
        if (!document.load_file(path.c_str()))
            state.SkipWithError("pugixml did not load the document");
        size_t characters = 0;
        pugi::xml_node node = document.document_element();
        while (node) {
            if (node.type() == pugi::node_element)
                characters += std::char_traits<char>::length(node.child_value());
            if (node.first_child()) {
                node = node.first_child();
                continue;
            }
            while (node && !node.next_sibling())
                node = node.parent();
            if (node)
                node = node.next_sibling();
        }
        benchmark::DoNotOptimize(characters);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file_bytes));
    SetLabel(state);
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    for (int kind : {0, 1})
        for (int megabytes : {1, 10, 100})
            benchmark->Args({kind, megabytes});
    benchmark->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();
}

struct PugixmlCounting {
    PugixmlCounting() { pugi::set_memory_management_functions(CountedMalloc, CountedFree); }
} pugixml_counting;

} // namespace

BENCHMARK(LoadAndWalk)->Apply(Sizes);
BENCHMARK(PugixmlParse)->Apply(Sizes);
BENCHMARK(PugixmlLoadFileAndWalk)->Apply(Sizes);

int main(int argc, char** argv) {
    // Keep freed memory in the process for both parsers alike: otherwise the C library hands
    // blocks above 32 MB (this reader's text of the large documents) back to the system, and every
    // iteration pays for fresh pages that pugixml's smaller blocks never need again.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, -1);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
