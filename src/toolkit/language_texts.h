#pragma once

#include <optional>
#include <string>

namespace toolkit {

// The process-wide interface-language table: one text per decimal id. Loading
// a language replaces texts id by id; ids the new language lacks keep theirs.
void SetLanguageText(const std::wstring& id, std::wstring text);
// The registered text, or nothing when no language registered the id.
std::optional<std::wstring> FindLanguageText(const std::wstring& id);
void ClearLanguageTexts();

}  // namespace toolkit
