#pragma once
// Runs a program directly (no shell) and collects its standard output.
#include <map>
#include <string>
#include <vector>

struct ChildResult {
  int m_exitCode = -1;
  std::string m_output;
};

ChildResult RunChild(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env = {});
