#include "app/LumetraApp.h"

#include <strings.h>
#include <QApplication>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/LumetraDlg.h"
#include "app/SplashWnd.h"
#include "platform/PathUtil.h"
#include "platform/RegistryStore.h"
#include "platform/ResourceModule.h"
#include "platform/TextHelpers.h"
#include "ui/ContinueFlag.h"
#include "ui/Fonts.h"
#include "ui/UiContext.h"

using platform::CRegistryStore;
using platform::RegRoot;

namespace {

CLumetraApp* g_pApp = nullptr;

constexpr const char* kLanguageNames[] = {"Japanese", "English", "Chinese"};
constexpr const char* kModuleFiles[] = {"LumetraResJpn.res", nullptr, "LumetraResChs.res"};

// Old versions stored the rates as hundredths in DWORD values.
constexpr uint32_t kMaxOldValue = 1000000000;

}  // namespace

CLumetraApp::CLumetraApp(platform::CRegistryStore* pStore)
    : m_strProgramDir(platform::ExecutableDir()), m_store(pStore ? *pStore : CRegistryStore::Instance()) {
    g_pApp = this;
    CContinueFlag::Bind(&m_bContinue);
}

CLumetraApp::~CLumetraApp() {
    if (g_pApp == this) {
        g_pApp = nullptr;
        CContinueFlag::Bind(nullptr);
    }
}

CLumetraApp* CLumetraApp::Instance() {
    return g_pApp;
}

void CLumetraApp::ParseCommandLine(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const char* pszArg = argv[i];
        if (!pszArg) continue;
        // Accept the option with one or two dashes or a slash, in any letter case.
        const char* pszName = pszArg;
        if (pszName[0] == '/')
            ++pszName;
        else {
            while (*pszName == '-') ++pszName;
        }
        if (pszName == pszArg) continue;
        if (strcasecmp(pszName, "nosplash") == 0)
            m_cmdInfo.bShowSplash = false;
        else if (strcasecmp(pszName, "screenshot") == 0 && i + 1 < argc && argv[i + 1])
            m_cmdInfo.strScreenshot = argv[++i];
    }
}

std::string CLumetraApp::ProgramKey() {
    return std::string("Software\\") + kCompany + "\\" + kProfile;
}

std::string CLumetraApp::SectionKey(const std::string& strSection) {
    return ProgramKey() + "\\" + strSection;
}

uint32_t CLumetraApp::GetProfileInt(const std::string& strSection, const std::string& strEntry,
                                    uint32_t nDefault) const {
    return m_store.GetDword(RegRoot::CurrentUser, SectionKey(strSection), strEntry).value_or(nDefault);
}

std::string CLumetraApp::GetProfileString(const std::string& strSection, const std::string& strEntry,
                                          const std::string& strDefault) const {
    return m_store.GetString(RegRoot::CurrentUser, SectionKey(strSection), strEntry).value_or(strDefault);
}

bool CLumetraApp::WriteProfileInt(const std::string& strSection, const std::string& strEntry, uint32_t nValue) {
    return m_store.SetDword(RegRoot::CurrentUser, SectionKey(strSection), strEntry, nValue);
}

bool CLumetraApp::WriteProfileString(const std::string& strSection, const std::string& strEntry,
                                     const std::string& strValue) {
    return m_store.SetString(RegRoot::CurrentUser, SectionKey(strSection), strEntry, strValue);
}

std::string CLumetraApp::GetLanguageName(int nLanguage) {
    if (nLanguage == LANG_JAPANESE || nLanguage == LANG_CHINESE) return kLanguageNames[nLanguage];
    return kLanguageNames[LANG_ENGLISH];
}

int CLumetraApp::LanguageFromName(const std::string& strName) {
    for (int i = 0; i < 3; ++i) {
        if (strcasecmp(strName.c_str(), kLanguageNames[i]) == 0 && strName.size() == strlen(kLanguageNames[i]))
            return i;
    }
    return -1;
}

std::string CLumetraApp::GetLanguageFontFace(int nLanguage) {
    return nLanguage == LANG_CHINESE ? "NSimSun" : "MS UI Gothic";
}

std::string CLumetraApp::GetLanguageCode(int nLanguage) {
    if (nLanguage == LANG_JAPANESE) return "jpn";
    if (nLanguage == LANG_CHINESE) return "chs";
    return "enu";
}

std::string CLumetraApp::FormatNumber(double dValue, int nLength, bool bGrouping) {
    return platform::FormatNumber(dValue, nLength, bGrouping);
}

int CLumetraApp::ReadLanguageValue(const char* pszName) const {
    if (!m_store.KeyExists(RegRoot::LocalMachine, ProgramKey())) return -1;
    std::optional<std::string> value = m_store.GetString(RegRoot::LocalMachine, ProgramKey(), pszName);
    if (!value || value->empty()) return -1;
    return LanguageFromName(*value);
}

int CLumetraApp::ReadLanguageSetting() const {
    return ReadLanguageValue("Language");
}

int CLumetraApp::ReadOSLanguageSetting() const {
    return ReadLanguageValue("OSLanguage");
}

void CLumetraApp::WriteLanguageSetting(int nLanguage) {
    // Only an existing key is written; a store that cannot be written keeps its old value and
    // nothing is reported.
    if (!m_store.KeyExists(RegRoot::LocalMachine, ProgramKey())) return;
    m_store.SetString(RegRoot::LocalMachine, ProgramKey(), "Language", GetLanguageName(nLanguage));
}

int CLumetraApp::EnumRegisteredLanguage(int& nIterator, int nMode) const {
    if (!m_store.KeyExists(RegRoot::LocalMachine, ProgramKey())) {
        nIterator = -1;
        return -1;
    }
    std::optional<uint32_t> langMax = m_store.GetDword(RegRoot::LocalMachine, ProgramKey(), "LangMax");
    if (nMode == 1) return langMax ? static_cast<int>(*langMax) : 0;

    if (!langMax) {
        nIterator = -1;
        return -1;
    }
    // A damaged count is cut to a list length the walk can finish.
    const int nMax = static_cast<int>(std::min<uint32_t>(*langMax, kMaxLanguageEntries));
    const int nEntry = (nIterator < 0 ? 0 : nIterator) + 1;
    if (nEntry > nMax) {
        nIterator = -1;
        return -1;
    }
    nIterator = nEntry < nMax ? nEntry : -1;
    std::optional<std::string> name =
        m_store.GetString(RegRoot::LocalMachine, ProgramKey(), platform::FormatPrintf("Lang%d", nEntry));
    if (!name) return -1;
    return LanguageFromName(*name);
}

void CLumetraApp::LoadPriceSettings(int nLanguage) {
    const int n = nLanguage + 1;
    m_dPrice = platform::ParseDouble(GetProfileString("Settings", platform::FormatPrintf("CurrParam%d", n), "11.0000"));
    m_strCurrencyUnit =
        GetProfileString("Settings", platform::FormatPrintf("CurrUnit%d", n), platform::Trim(platform::LoadStr(11)));
}

void CLumetraApp::SavePriceSettings(int nLanguage) {
    const int n = nLanguage + 1;
    WriteProfileString("Settings", platform::FormatPrintf("CurrParam%d", n), FormatNumber(m_dPrice, 11, false));
    WriteProfileString("Settings", platform::FormatPrintf("CurrUnit%d", n), m_strCurrencyUnit);
}

void CLumetraApp::SaveCO2Settings() {
    WriteProfileString("Settings", "CO2Param", FormatNumber(m_dCO2Rate, 11, false));
}

std::string CLumetraApp::ResourceDir() const {
    const char* pszDir = std::getenv("LUMETRA_RESOURCE_DIR");
    if (pszDir && *pszDir) return pszDir;
    return m_strProgramDir;
}

std::shared_ptr<const platform::CResourceModule> CLumetraApp::LoadLanguageModule(int nLanguage) const {
    if (nLanguage != LANG_JAPANESE && nLanguage != LANG_CHINESE) return platform::CResourceModule::English();
    return platform::CResourceModule::LoadFile(platform::JoinPath(ResourceDir(), kModuleFiles[nLanguage]));
}

void CLumetraApp::CreateMachineKey() {
    const std::string strKey = ProgramKey();
    if (m_store.KeyExists(RegRoot::LocalMachine, strKey)) return;
    if (!m_store.CreateKey(RegRoot::LocalMachine, strKey)) return;  // no rights: nothing is written
    m_store.SetString(RegRoot::LocalMachine, strKey, "Language", GetLanguageName(m_nLanguage));
    m_store.SetString(RegRoot::LocalMachine, strKey, "OSLanguage", GetLanguageName(m_nOSLanguage));
    for (int i = 0; i < 3; ++i)
        m_store.SetString(RegRoot::LocalMachine, strKey, platform::FormatPrintf("Lang%d", i + 1), kLanguageNames[i]);
    m_store.SetDword(RegRoot::LocalMachine, strKey, "LangMax", 3);
}

void CLumetraApp::ResolveLanguage() {
    std::shared_ptr<const platform::CResourceModule> module;
    for (int nAttempt = 0; nAttempt < 3 && !module; ++nAttempt) {
        if (m_nLanguage != LANG_JAPANESE && m_nLanguage != LANG_CHINESE) m_nLanguage = LANG_ENGLISH;
        bool bRegistered = false;
        int nIterator = -1;
        do {
            if (EnumRegisteredLanguage(nIterator, 0) == m_nLanguage) bRegistered = true;
        } while (nIterator != -1 && !bRegistered);
        if (bRegistered) module = LoadLanguageModule(m_nLanguage);
        if (!module) {
            m_nLanguage = m_nLanguage + 1;
            if (m_nLanguage > LANG_CHINESE) m_nLanguage = LANG_ENGLISH;
        }
    }
    if (!module) {
        m_nLanguage = LANG_ENGLISH;
        module = platform::CResourceModule::English();
    }
    m_hResource = module;
    platform::SetCurrentResources(module);
}

void CLumetraApp::ShowSplash() {
    if (!m_cmdInfo.bShowSplash || CSplashWnd::Current()) return;
    const std::string strPath = platform::JoinPath(m_strProgramDir, "Splash.Opn");
    if (!CSplashWnd::ShowSplashScreen(strPath, &m_bContinue, m_nSplashTimeoutMs)) {
        m_bContinue = 0;
        return;
    }
    while (m_bContinue) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    CSplashWnd::DestroySplash();
}

void CLumetraApp::MigrateOldValues() {
    auto migrate = [this](const std::string& strName, uint32_t nDefault) {
        uint32_t nValue = GetProfileInt("Settings", strName, nDefault);
        if (nValue > kMaxOldValue) nValue = nDefault;
        WriteProfileString("Settings", strName, platform::FormatPrintf("%.2f", nValue / 100.0));
    };
    migrate("CO2Param", 41);
    for (int n = 1; n <= 3; ++n) migrate(platform::FormatPrintf("CurrParam%d", n), 1100);
}

void CLumetraApp::StartUp() {
    // 1-2: the machine-wide key with the default language list, when it is missing.
    CreateMachineKey();
    // 3: the stored languages.
    m_nLanguage = ReadLanguageSetting();
    m_nOSLanguage = ReadOSLanguageSetting();
    if (m_nOSLanguage != LANG_JAPANESE && m_nOSLanguage != LANG_CHINESE) m_nOSLanguage = LANG_ENGLISH;
    // 4: the language whose resources can be used.
    ResolveLanguage();
    // 6: the splash holds the start-up until it closes.
    ShowSplash();
    // 7
    m_strStartDir = platform::CurrentDir();
    m_strSaveDir = m_strStartDir;
    // 8
    const uint32_t nInitial = GetProfileInt("Settings", "InitialStart", 0);
    m_nInitialStart = nInitial <= 2 ? static_cast<int>(nInitial) : 0;
    // 9: numbers of older versions become text.
    if (m_nInitialStart == 0 || m_nInitialStart == 1) MigrateOldValues();
    // 10
    m_strDataPath = GetProfileString("Settings", "CurrentPath", "");
    if (m_strDataPath.empty()) m_strDataPath = platform::JoinPath(m_strStartDir, platform::LoadStr(301));
    // 11
    m_bOverwriteConfirm = static_cast<int>(GetProfileInt("Settings", "CopyOverWriteChk", 0));
    // 12
    m_dCO2Rate = platform::ParseDouble(GetProfileString("Settings", "CO2Param", "0.410"));
    // 13
    LoadPriceSettings(m_nLanguage);
    // 14: the window layouts of old versions are dropped once.
    if (m_nInitialStart != 2) {
        m_store.DeleteTree(RegRoot::CurrentUser, ProgramKey() + "\\Workspace");
        m_nInitialStart = 2;
        WriteProfileInt("Settings", "InitialStart", 2);
    }
}

void CLumetraApp::StoreWindowPlacement(const QWidget* pWnd) {
    if (!pWnd) return;
    if (pWnd->isMinimized() || pWnd->isMaximized()) {
        m_nShowCmd = pWnd->isMinimized() ? 2 : 3;
        m_rcWindow = pWnd->normalGeometry().isValid() ? pWnd->normalGeometry() : pWnd->geometry();
    } else {
        m_nShowCmd = 1;
        m_rcWindow = pWnd->geometry();
    }
}

void CLumetraApp::ApplyWindowPlacement(QWidget* pWnd) const {
    if (!pWnd) return;
    if (m_rcWindow.isValid()) pWnd->setGeometry(m_rcWindow);
    Qt::WindowStates state = pWnd->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (m_nShowCmd == 2) state |= Qt::WindowMinimized;
    if (m_nShowCmd == 3) state |= Qt::WindowMaximized;
    pWnd->setWindowState(state);
}

bool CLumetraApp::SwitchLanguage(int nLanguage) {
    if (nLanguage != LANG_JAPANESE && nLanguage != LANG_CHINESE) nLanguage = LANG_ENGLISH;
    m_nLanguage = nLanguage;
    std::shared_ptr<const platform::CResourceModule> module = LoadLanguageModule(nLanguage);
    if (!module) return false;  // the texts stay as they are until the next start
    m_hResource = module;
    platform::SetCurrentResources(module);
    m_bRestartMenu = 1;
    if (m_pMenuDlg) {
        StoreWindowPlacement(m_pMenuDlg);
        m_pMenuDlg->OnCancel();  // closes without asking: a restart is pending
    }
    return true;
}

void CLumetraApp::MakeInterfaceFont() {
    const QString strFace = QString::fromStdString(GetLanguageFontFace(m_nLanguage));
    if (!SetLanguageFont(nullptr, &m_fontUI, 9, strFace)) m_fontUI = QFont();
    // Message boxes and every dialog take the font and language from here.
    CUiContext::SetInterfaceFont(m_fontUI);
    CUiContext::SetLanguageFace(strFace);
    CUiContext::SetLanguage(m_nLanguage);
}

bool CLumetraApp::InitInstance() {
    StartUp();
    RunMenuLoop();
    return false;
}

void CLumetraApp::RunMenuLoop() {
    for (;;) {
        MakeInterfaceFont();
        CLumetraDlg dlg;
        m_pMenuDlg = &dlg;
        if (!m_cmdInfo.strScreenshot.empty()) dlg.SaveScreenshotAndEnd(m_cmdInfo.strScreenshot);
        dlg.DoModal();
        m_pMenuDlg = nullptr;
        if (!m_cmdInfo.strScreenshot.empty() && !dlg.ScreenshotSaved()) {
            std::fprintf(stderr, "lumetra: cannot write %s\n", m_cmdInfo.strScreenshot.c_str());
            m_nExitCode = 1;
        }
        if (m_bRestartMenu != 1) break;
        LoadPriceSettings(m_nLanguage);
        m_bRestartMenu = 0;
    }
}
