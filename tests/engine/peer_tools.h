// The command-line tools that engine results are checked against: GeographicLib's GeodSolve,
// RhumbSolve and Planimeter, and PROJ's cs2cs. Each runs once per call with all its input lines.
#pragma once

#include <string>
#include <vector>

namespace engine_test {

// The numbers of every output line of `command` fed with `input`; fails the test (and answers
// nothing) when the tool cannot be run.
std::vector<std::vector<double>> run_tool(const std::string& command, const std::string& input);

}  // namespace engine_test
