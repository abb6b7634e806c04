#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A resource module: the string table, dialog templates and menus of one
// interface language, in the text format of resources/README.md. The English
// module is built into the program; the Japanese and Chinese ones are files
// next to the executable. Parsing never throws and never trusts its input: a
// damaged module is refused as a whole (nullptr and a message with the line).
//
// Control classes the dialog layer knows (any other word is kept and shown as
// a plain label):
//   BUTTON     push button            CHECKBOX  check box       RADIO   radio button
//   STATIC     text label             EDIT      one-line edit   COMBOBOX drop-down list
//   LISTBOX    list                   GROUPBOX  framed group    PROGRESS progress bar
//   DATETIME   date picker            FRAME     etched line / frame (see flags)
//   CUSTOM     empty area a dialog fills itself
// Flags (words; unknown ones are kept and ignored):
//   controls: HIDDEN DISABLED DEFAULT (default push button) PICTURE (picture
//             button with icon) ETCHEDHORZ CENTER RIGHT VCENTER (text alignment)
//             READONLY PASSWORD GROUP (starts a new group of radio buttons)
//   dialogs:  RESIZABLE MINIMIZEBOX MAXIMIZEBOX CHILD (a page inside its owner)
//             MENU=<id> (menu bar from the menu of that id)
// A flag may carry a value after "=", read with FlagValue.
namespace platform {

struct stDLGCONTROL {
    int nId = 0;
    std::string strClass;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string strText;
    std::vector<std::string> flags;
    bool HasFlag(std::string_view strFlag) const;
    // The text after "KEY=" of the first flag "KEY=...", "" when there is none.
    std::string FlagValue(std::string_view strKey) const;
};

struct stDLGTEMPLATE {
    int nId = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string strCaption;
    std::vector<std::string> flags;
    std::vector<stDLGCONTROL> controls;
    const stDLGCONTROL* Find(int nId) const;  // the first control with that id, nullptr when none
    bool HasFlag(std::string_view strFlag) const;
    std::string FlagValue(std::string_view strKey) const;
};

struct stMENUITEM {
    int nId = 0;
    std::string strText;
    bool bSeparator = false;
    bool bPopup = false;
    std::vector<stMENUITEM> children;
};

struct stMENUTEMPLATE {
    int nId = 0;
    std::vector<stMENUITEM> items;
};

class CResourceModule {
public:
    // Parses a whole module. On failure returns nullptr and, when pError is
    // given, stores "line N: what is wrong".
    static std::shared_ptr<const CResourceModule> Parse(std::string_view text, std::string* pError = nullptr);
    // Reads and parses a module file; nullptr when it is missing, unreadable,
    // larger than kMaxFileSize, does not parse or defines nothing.
    static std::shared_ptr<const CResourceModule> LoadFile(const std::string& strPath);
    // The built-in English module, parsed once.
    static std::shared_ptr<const CResourceModule> English();

    static constexpr size_t kMaxFileSize = 16 * 1024 * 1024;
    // Coordinates and sizes are kept to this range so pixel arithmetic never overflows.
    static constexpr int kMaxCoordinate = 32767;
    // Deepest nesting of menu popups.
    static constexpr int kMaxMenuDepth = 16;

    bool HasString(int nId) const;
    std::string LoadString(int nId) const;           // "" when missing
    const stDLGTEMPLATE* FindDialog(int nId) const;  // nullptr when missing
    const stMENUTEMPLATE* FindMenu(int nId) const;

    // For tools and tests: the numbers the module defines, ascending.
    std::vector<int> StringIds() const;
    std::vector<int> DialogIds() const;

private:
    std::map<int, std::string> m_mapStrings;
    std::map<int, stDLGTEMPLATE> m_mapDialogs;
    std::map<int, stMENUTEMPLATE> m_mapMenus;
    friend class CResourceParser;
};

// The module in use (the program's m_hResource): English until set.
std::shared_ptr<const CResourceModule> CurrentResources();
// Setting nullptr goes back to English.
void SetCurrentResources(std::shared_ptr<const CResourceModule> module);
// From the current module, falling back to English when it lacks the number.
std::string LoadStr(int nId);
// Dialog units to pixels with fixed base units: x * 3 / 2, y * 13 / 8.
int DluToPixelX(int x);
int DluToPixelY(int y);

}  // namespace platform
