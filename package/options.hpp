#pragma once
// Command-line reading shared by the package installer and its uninstaller.
//
// Both programs are started with a Windows-style command line that the
// launcher has already split into arguments. The folder given last ("/D=" for
// the installer, "_?=" for the uninstaller) is passed unquoted and may contain
// blanks, so the splitter hands it over in pieces: everything from that switch
// to the end belongs to the folder.
#include <map>
#include <string>
#include <vector>

namespace lexivar::package {

struct Options final {
  bool m_silent = false;
  bool m_console = false;
  std::map<std::string, std::string> m_values;  // "-name=value" switches, by name
  std::string m_tailFolder;                     // the folder after the tail switch
  bool m_hasTailFolder = false;

  // Value of "-name=" or the fallback when absent.
  std::string Get(const std::string& name, const std::string& fallback = {}) const;
  // True only for the exact text "true".
  bool Flag(const std::string& name) const;
};

// tailSwitch is "/D=" or "_?=". args excludes the program name.
Options ParseOptions(const std::vector<std::string>& args, const std::string& tailSwitch);

}  // namespace lexivar::package
