#pragma once

#include "utils/Language.h"

// Reads the language file from the skin archive the windows use and puts its
// texts into the toolkit's language table.
class SkinLanguageHost final : public Utils::LanguageHost {
public:
    // Attaches the one host of the process to the language loader.
    static void Attach();

    std::optional<size_t> ItemSize(std::string_view name) override;
    std::optional<std::string> ExtractItem(std::string_view name) override;
    void RegisterText(const std::wstring& id, const std::wstring& text) override;
};
