// Replays fuzzing inputs through their harnesses once each, without libFuzzer: the corpus
// as a regression test. Arguments are files or folders; a file goes to the harness named
// by the folder it lies in (fuzz/corpus/history_file/x goes to history_file), and a folder
// is searched for files below it. Any failed check or sanitizer report ends the run.
//   fuzz_replay fuzz/corpus
//   fuzz_replay fuzz/corpus/url/mailto fuzz/corpus/text
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "fuzz/fuzz.h"

namespace fs = std::filesystem;

namespace {

const zurimo::fuzz::Target* TargetOf(const fs::path& file) {
    std::string folder = file.parent_path().filename().string();
    for (const zurimo::fuzz::Target& target : zurimo::fuzz::kTargets) {
        if (folder == target.name) return &target;
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE-OR-FOLDER...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        if (fs::is_directory(argv[i], error)) {
            for (const auto& entry : fs::recursive_directory_iterator(argv[i])) {
                if (entry.is_regular_file()) files.push_back(entry.path());
            }
        } else if (fs::is_regular_file(argv[i], error)) {
            files.push_back(argv[i]);
        } else {
            std::fprintf(stderr, "fuzz-replay: no such file or folder: %s\n", argv[i]);
            return 1;
        }
    }
    std::sort(files.begin(), files.end());

    std::map<std::string, int> runs;
    for (const fs::path& file : files) {
        const zurimo::fuzz::Target* target = TargetOf(file);
        if (!target) {
            std::fprintf(stderr, "fuzz-replay: %s is in no harness's folder\n", file.c_str());
            return 1;
        }
        std::ifstream in(file, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
        if (!in.eof() && in.fail()) {
            std::fprintf(stderr, "fuzz-replay: cannot read %s\n", file.c_str());
            return 1;
        }
        // Named before it runs, so that a crash's report follows the input's name.
        std::fprintf(stderr, "%s\n", file.c_str());
        target->entry(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
        ++runs[target->name];
    }

    std::printf("fuzz-replay: %zu inputs through %zu harnesses\n", files.size(), runs.size());
    for (const auto& [name, count] : runs) std::printf("  %-16s %d\n", name.c_str(), count);
    return 0;
}
