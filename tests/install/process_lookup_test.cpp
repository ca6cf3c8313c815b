#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "child_fixture.h"
#include "common/test_files.h"
#include "install/Records.h"
#include "platform/ProcessList.h"
#include "utils/Process.h"

namespace fs = std::filesystem;

TEST(FindProcessByName, FindsRunningProgramsByTheirFullImageName) {
    const fs::path dir = lexivar::test::ScratchDir("process lookup");
    const fs::path names[] = {dir / "lexivar.exe", dir / "Lexivar_un_asa.exe"};
    Utils::Process children[2];
    for (int i = 0; i < 2; ++i) {
        PlaceScriptedChild(names[i], {"sleep 1000"});
        children[i].m_errorPipe.Create();
        children[i].m_outputPipe.Create();
        children[i].m_inputPipe.Create();
        children[i].Launch(L"\"" + names[i].wstring() + L"\"");
    }
    // Another test may run a program of the same name: any process of that name will do.
    for (const auto& name : names) {
        uint32_t found = 0;
        for (int tries = 0; tries < 200 && found == 0; ++tries) {
            found = FindProcessByName(name.filename().wstring());
            if (found == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_NE(found, 0u) << name;
        const auto all = Platform::FindProcessesByImageName(name.filename().string());
        EXPECT_NE(std::find(all.begin(), all.end(), found), all.end());
    }
    EXPECT_EQ(FindProcessByName(L"LEXIVAR.EXE"), 0u);
    EXPECT_EQ(FindProcessByName(L"Lexivar_un_as"), 0u);
    EXPECT_EQ(FindProcessByName(L""), 0u);
    // Gone before the next test looks for programs of these names.
    for (auto& child : children) {
        child.Wait();
        child.CloseAll();
    }
}
