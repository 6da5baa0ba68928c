#include "peer_tools.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

namespace engine_test {

std::vector<std::vector<double>> run_tool(const std::string& command, const std::string& input) {
    char path[] = "/tmp/engine_peer_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) {
        ADD_FAILURE() << "cannot make a temporary file";
        return {};
    }
    close(fd);
    std::ofstream(path) << input;
    const std::string line = command + " < " + path + " 2>&1";
    FILE* pipe = popen(line.c_str(), "r");
    std::string output;
    char buffer[4096];
    for (size_t n; pipe != nullptr && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, n);
    const int status = pipe == nullptr ? -1 : pclose(pipe);
    std::remove(path);
    if (status != 0) {
        ADD_FAILURE() << command << " failed (is it installed? scripts/install-deps): " << output;
        return {};
    }
    std::vector<std::vector<double>> rows;
    std::istringstream lines(output);
    for (std::string text; std::getline(lines, text);) {
        std::istringstream fields(text);
        std::vector<double> row;
        for (std::string field; fields >> field;) row.push_back(std::strtod(field.c_str(), nullptr));
        rows.push_back(row);
    }
    return rows;
}

}  // namespace engine_test
