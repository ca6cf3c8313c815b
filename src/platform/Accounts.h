#pragma once
// Who we run as, and who sits at the console.
#include <string>

namespace Platform {

// Effective uid 0.
bool IsProcessAdmin();
// The account is root or a member of "sudo", "wheel" or "admin". False for unknown accounts.
bool IsAdminAccount(const std::string& userName);
// The user of the active session on seat0, falling back to our login name.
bool GetConsoleUserName(std::string& userName);

}  // namespace Platform
