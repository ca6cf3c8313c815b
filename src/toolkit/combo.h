#pragma once

#include <string>
#include <vector>

#include "toolkit/button.h"

namespace toolkit {

// A small chooser: shows the current item and steps to the next one on each
// click. Items come from child elements carrying a "text".
class Combo : public Button {
public:
    Combo() { m_textStyle = kDefaultStyle; }
    std::wstring_view GetClass() const override { return L"Combo"; }
    void* GetInterface(std::wstring_view name) override;
    void SetAttribute(std::wstring_view name, std::wstring_view value) override;
    void Activate() override;
    std::wstring GetText() const override;

    void AddItem(std::wstring text) { m_items.push_back(std::move(text)); }
    size_t GetCount() const { return m_items.size(); }
    int GetCurSel() const { return m_curSel; }
    // Sends "itemselect" with the new index when asked and when it changed.
    bool SelectItem(int index, bool notify = true);

private:
    std::vector<std::wstring> m_items;
    int m_curSel = -1;
};

}  // namespace toolkit
