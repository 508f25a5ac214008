#pragma once
// What the class-table tests share: the corpus folder and its PROPERTIES.tsv, the map
// of which property paths real forms set on which classes.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace fwtest {

// The corpus must be there: a run that silently checks nothing would look green.
// Developers without it can set FW_SKIP_CORPUS=1.
inline bool CorpusMissing(const std::filesystem::path& dir) {
    if (std::filesystem::is_directory(dir)) return false;
    if (std::getenv("FW_SKIP_CORPUS")) return true;
    ADD_FAILURE() << "corpus not found at " << dir
                  << " (set FW_CORPUS_DIR at configure time, or FW_SKIP_CORPUS=1 to skip)";
    return true;
}

// The (class, property path) rows of the corpus's PROPERTIES.tsv; empty when the file
// cannot be read.
inline std::vector<std::pair<std::string, std::string>> PropertyRows(const std::filesystem::path& forms) {
    std::vector<std::pair<std::string, std::string>> rows;
    std::ifstream in(forms / "PROPERTIES.tsv");
    std::string line;
    std::getline(in, line);  // header
    while (std::getline(in, line)) {
        std::istringstream row(line);
        std::string className, path;
        std::getline(row, className, '\t');
        std::getline(row, path, '\t');
        rows.emplace_back(std::move(className), std::move(path));
    }
    return rows;
}

}  // namespace fwtest
