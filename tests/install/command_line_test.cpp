#include <gtest/gtest.h>

#include "install/CInstaller.h"
#include "install/CUnInstaller.h"

TEST(InstallerCommandLine, PiecesFollowTheFlagsLanguageExtraTextAndFolder) {
    struct Case {
        bool desktop, quickLaunch, admin, authorization;
        std::wstring language, instCmd, folder, expected;
    };
    const std::wstring base = L"\"/t/__Package_Lexivar.exe\" /S -console=show -version=1.0.0";
    const Case cases[] = {
        {false, false, false, true, L"", L"", L"",
         base + L" -adminact=false -authorizationact=true -dsc=false -ssc=false"},
        {true, true, true, false, L"zh-CN", L"", L"",
         base + L" -adminact=true -authorizationact=false -dsc=true -ssc=true -inslang=\"zh-CN\""},
        {true, false, false, false, L"", L"-channel=beta /Q", L"/opt/my apps/Lexivar",
         base + L" -adminact=false -authorizationact=false -dsc=true -ssc=false -channel=beta /Q"
                L" -instdir=\"/opt/my apps/Lexivar\" /D=/opt/my apps/Lexivar"},
        {false, true, true, true, L"en-US", L"x", L"/o",
         base + L" -adminact=true -authorizationact=true -dsc=false -ssc=true -inslang=\"en-US\" x"
                L" -instdir=\"/o\" /D=/o"},
    };
    for (const auto& c : cases) {
        CInstaller installer(nullptr, L"\"/t/__Package_Lexivar.exe\"", c.folder, c.desktop, c.quickLaunch, c.admin);
        installer.SetAuthorization(c.authorization);
        installer.SetInstallLanguage(c.language);
        installer.SetInstCmd(c.instCmd);
        EXPECT_EQ(installer.BuildCommandLine(), c.expected);
    }
}

TEST(UninstallerCommandLine, FolderGoesLastAndUnquoted) {
    CUnInstaller runner(nullptr, L"/tmp/~ZeRinTemp/Lexivar_un_asa.exe", L"/opt/my apps/Lexivar");
    runner.SetAdminQueries([] { return true; }, [] { return false; });
    EXPECT_EQ(runner.BuildCommandLine(), L"/tmp/~ZeRinTemp/Lexivar_un_asa.exe /S -adminact=true -authorizationact=false"
                                         L" -console=show _?=/opt/my apps/Lexivar");
}

TEST(UninstallerCommandLine, ProgramPathWithBlanksIsQuoted) {
    CUnInstaller runner(nullptr, L"/tmp/my temp/Lexivar_un_asa.exe", L"/o");
    runner.SetAdminQueries([] { return false; }, [] { return false; });
    EXPECT_EQ(runner.BuildCommandLine(),
              L"\"/tmp/my temp/Lexivar_un_asa.exe\" /S -adminact=false -authorizationact=false -console=show _?=/o");
}
