#include "options.hpp"

namespace lexivar::package {

std::string Options::Get(const std::string& name, const std::string& fallback) const {
  auto it = m_values.find(name);
  return it == m_values.end() ? fallback : it->second;
}

bool Options::Flag(const std::string& name) const { return Get(name) == "true"; }

Options ParseOptions(const std::vector<std::string>& args, const std::string& tailSwitch) {
  Options out;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind(tailSwitch, 0) == 0) {
      out.m_hasTailFolder = true;
      out.m_tailFolder = arg.substr(tailSwitch.size());
      for (std::size_t j = i + 1; j < args.size(); ++j) out.m_tailFolder += " " + args[j];
      break;
    }
    if (arg == "/S") {
      out.m_silent = true;
    } else if (arg == "-console=show") {
      out.m_console = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      auto eq = arg.find('=');
      if (eq != std::string::npos) out.m_values[arg.substr(1, eq - 1)] = arg.substr(eq + 1);
    }
    // Anything else (extra switches a distributor adds) is accepted and ignored.
  }
  return out;
}

}  // namespace lexivar::package
