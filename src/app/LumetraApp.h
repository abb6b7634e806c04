#pragma once
#include <QFont>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {
class CRegistryStore;
class CResourceModule;
}  // namespace platform

class CLumetraDlg;

// Interface language index: selects the resource module, the font face and the locale code.
enum : int { LANG_JAPANESE = 0, LANG_ENGLISH = 1, LANG_CHINESE = 2 };

// What the command line asks for.
struct stCOMMANDLINE {
    bool bShowSplash = true;    // cleared by --nosplash
    std::string strScreenshot;  // --screenshot FILE: save a picture of the main menu and end
};

// The application object: start-up, interface language and resource module, the settings record
// and the process-wide flags of the long operations. One per process (Instance()).
class CLumetraApp {
public:
    // Uses the process-wide settings store unless a store is given (tests).
    explicit CLumetraApp(platform::CRegistryStore* pStore = nullptr);
    ~CLumetraApp();
    CLumetraApp(const CLumetraApp&) = delete;
    CLumetraApp& operator=(const CLumetraApp&) = delete;

    // The application object of this process; nullptr before one exists.
    static CLumetraApp* Instance();

    // Reads the options the program knows (--nosplash, --screenshot FILE); others are ignored.
    void ParseCommandLine(int argc, const char* const* argv);

    // The whole start-up and the main menu loop; returns false when the menu has closed for good.
    bool InitInstance();
    // Start-up up to the main menu (language, resources, splash, settings, migration).
    void StartUp();
    // The main menu loop: builds the menu, runs it, builds it again after a language switch.
    void RunMenuLoop();

    // Machine-wide language values.
    int ReadLanguageSetting() const;
    int ReadOSLanguageSetting() const;
    void WriteLanguageSetting(int nLanguage);
    // Mode 1: "LangMax" (0 when unreadable, -1 when the key cannot be opened). Mode 0: the next
    // "Lang%d" entry as a language index; start with nIterator -1, it is -1 again after the last.
    int EnumRegisteredLanguage(int& nIterator, int nMode) const;

    // Price and currency unit of a language ("CurrParam"/"CurrUnit" plus index + 1).
    void LoadPriceSettings(int nLanguage);
    void SavePriceSettings(int nLanguage);
    // Writes "CO2Param" from m_dCO2Rate.
    void SaveCO2Settings();

    static std::string GetLanguageFontFace(int nLanguage);
    static std::string GetLanguageCode(int nLanguage);
    static std::string GetLanguageName(int nLanguage);        // the registry name, "English" for unknown
    static int LanguageFromName(const std::string& strName);  // -1 for none of the three
    static std::string FormatNumber(double dValue, int nLength, bool bGrouping);

    // Per-user values below Software\Corvane Control\Lumetra\<section>.
    uint32_t GetProfileInt(const std::string& strSection, const std::string& strEntry, uint32_t nDefault) const;
    std::string GetProfileString(const std::string& strSection, const std::string& strEntry,
                                 const std::string& strDefault) const;
    bool WriteProfileInt(const std::string& strSection, const std::string& strEntry, uint32_t nValue);
    bool WriteProfileString(const std::string& strSection, const std::string& strEntry, const std::string& strValue);

    // Switches the interface language while the program runs; rebuilds the main menu when the
    // language's resources load. Returns whether they did.
    bool SwitchLanguage(int nLanguage);

    // Window placement handed between the main menu and the graph dialog: m_rcWindow is the
    // window's geometry (its inner rectangle in screen coordinates), m_nShowCmd 1 normal,
    // 2 minimised, 3 maximised; a minimised or maximised window hands on its normal rectangle.
    void StoreWindowPlacement(const QWidget* pWnd);
    void ApplyWindowPlacement(QWidget* pWnd) const;

    // Folder of the language modules: LUMETRA_RESOURCE_DIR, else the program's folder.
    std::string ResourceDir() const;
    // Folder holding the splash bitmap (the program's folder unless set otherwise).
    std::string m_strProgramDir;
    int m_nSplashTimeoutMs = 3000;
    stCOMMANDLINE m_cmdInfo;
    int m_nExitCode = 0;  // the process's exit code: 1 when a requested screenshot was not written

    // Settings record.
    std::string m_strStartDir;
    std::string m_strDataPath;
    int m_bOverwriteConfirm = 0;
    int m_nLanguage = LANG_ENGLISH;
    int m_nOSLanguage = LANG_ENGLISH;
    int m_nInitialStart = 0;
    double m_dCO2Rate = 0.41;
    double m_dPrice = 11.0;
    std::string m_strCurrencyUnit;
    std::string m_strSaveDir;

    // Process-wide state.
    int m_bContinue = 1;
    int m_bRestartMenu = 0;
    int m_bFirstMenu = 1;
    QRect m_rcWindow;
    int m_nShowCmd = 1;
    std::shared_ptr<const platform::CResourceModule> m_hResource;
    QFont m_fontUI;
    CLumetraDlg* m_pMenuDlg = nullptr;

    // Registry key names.
    static constexpr const char* kCompany = "Corvane Control";
    static constexpr const char* kProfile = "Lumetra";
    static std::string ProgramKey();  // Software\Corvane Control\Lumetra
    static std::string SectionKey(const std::string& strSection);

    // Longest "Lang%d" list walked; a damaged "LangMax" cannot make the walk endless.
    static constexpr int kMaxLanguageEntries = 16;

private:
    int ReadLanguageValue(const char* pszName) const;
    void CreateMachineKey();
    void ResolveLanguage();
    std::shared_ptr<const platform::CResourceModule> LoadLanguageModule(int nLanguage) const;
    void ShowSplash();
    void MigrateOldValues();
    void MakeInterfaceFont();

    platform::CRegistryStore& m_store;
};
