#include "platform/ResourceModule.h"

#include <charconv>
#include <fstream>
#include <mutex>

#include "EmbeddedResources.h"

namespace platform {

namespace {

bool FlagIs(const std::string& strFlag, std::string_view strWanted) {
    if (strFlag.size() != strWanted.size()) return false;
    for (size_t i = 0; i < strFlag.size(); ++i) {
        char a = strFlag[i], b = strWanted[i];
        if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 'a' + 'A');
        if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 'a' + 'A');
        if (a != b) return false;
    }
    return true;
}

bool FindFlag(const std::vector<std::string>& flags, std::string_view strFlag) {
    for (const auto& f : flags)
        if (FlagIs(f, strFlag)) return true;
    return false;
}

std::string FindFlagValue(const std::vector<std::string>& flags, std::string_view strKey) {
    for (const auto& f : flags) {
        size_t eq = f.find('=');
        if (eq != std::string::npos && FlagIs(f.substr(0, eq), strKey)) return f.substr(eq + 1);
    }
    return std::string();
}

struct stTOKEN {
    bool bQuoted = false;
    std::string strText;
};

}  // namespace

bool stDLGCONTROL::HasFlag(std::string_view strFlag) const {
    return FindFlag(flags, strFlag);
}
std::string stDLGCONTROL::FlagValue(std::string_view strKey) const {
    return FindFlagValue(flags, strKey);
}
bool stDLGTEMPLATE::HasFlag(std::string_view strFlag) const {
    return FindFlag(flags, strFlag);
}
std::string stDLGTEMPLATE::FlagValue(std::string_view strKey) const {
    return FindFlagValue(flags, strKey);
}

const stDLGCONTROL* stDLGTEMPLATE::Find(int nControlId) const {
    for (const auto& c : controls)
        if (c.nId == nControlId) return &c;
    return nullptr;
}

// Reads the module line by line; every error stops the parse with the line number.
class CResourceParser {
public:
    explicit CResourceParser(std::string_view text) : m_text(text) {}

    bool Run(CResourceModule& module, std::string& strError) {
        std::string_view line;
        while (NextLine(line)) {
            std::vector<stTOKEN> tokens;
            if (!Tokenize(line, tokens)) return Fail(strError);
            if (tokens.empty()) continue;
            if (!Statement(module, tokens)) return Fail(strError);
        }
        if (m_pDialog || !m_menuStack.empty()) {
            m_strError =
                m_pDialog ? "DIALOG without END at the end of the text" : "MENU without END at the end of the text";
            return Fail(strError);
        }
        return true;
    }

private:
    std::string_view m_text;
    size_t m_nPos = 0;
    int m_nLine = 0;
    std::string m_strError;
    // The dialog being read (between DIALOG and its END).
    stDLGTEMPLATE* m_pDialog = nullptr;
    stDLGTEMPLATE m_dialog;
    // The menu being read: the item lists from the menu down to the innermost open popup.
    stMENUTEMPLATE m_menu;
    std::vector<std::vector<stMENUITEM>*> m_menuStack;

    bool Fail(std::string& strError) {
        strError = "line " + std::to_string(m_nLine) + ": " + m_strError;
        return false;
    }

    bool NextLine(std::string_view& line) {
        if (m_nPos >= m_text.size()) return false;
        size_t end = m_text.find('\n', m_nPos);
        if (end == std::string_view::npos) end = m_text.size();
        line = m_text.substr(m_nPos, end - m_nPos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        m_nPos = end + 1;
        ++m_nLine;
        // A byte order mark at the very start is allowed.
        if (m_nLine == 1 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        return true;
    }

    static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

    bool Tokenize(std::string_view line, std::vector<stTOKEN>& tokens) {
        size_t i = 0;
        while (true) {
            while (i < line.size() && IsBlank(line[i])) ++i;
            if (i >= line.size()) return true;
            if (tokens.empty() && line[i] == '#') return true;
            stTOKEN tok;
            if (line[i] == '"') {
                tok.bQuoted = true;
                ++i;
                bool bClosed = false;
                while (i < line.size()) {
                    char c = line[i++];
                    if (c == '"') {
                        bClosed = true;
                        break;
                    }
                    if (c != '\\') {
                        tok.strText += c;
                        continue;
                    }
                    if (i >= line.size()) break;
                    char e = line[i++];
                    switch (e) {
                        case '"':
                            tok.strText += '"';
                            break;
                        case '\\':
                            tok.strText += '\\';
                            break;
                        case 'n':
                            tok.strText += '\n';
                            break;
                        case 'r':
                            tok.strText += '\r';
                            break;
                        case 't':
                            tok.strText += '\t';
                            break;
                        default:
                            m_strError = std::string("unknown escape \\") + e;
                            return false;
                    }
                }
                if (!bClosed) {
                    m_strError = "text without closing quote";
                    return false;
                }
                if (i < line.size() && !IsBlank(line[i])) {
                    m_strError = "blank expected after a quoted text";
                    return false;
                }
            } else {
                size_t start = i;
                while (i < line.size() && !IsBlank(line[i])) {
                    if (line[i] == '"') {
                        m_strError = "quote inside a word";
                        return false;
                    }
                    ++i;
                }
                tok.strText = std::string(line.substr(start, i - start));
            }
            tokens.push_back(std::move(tok));
        }
    }

    bool Keyword(const stTOKEN& tok, std::string_view strWord) const { return !tok.bQuoted && tok.strText == strWord; }

    bool Number(const std::vector<stTOKEN>& tokens, size_t i, const char* pszWhat, int& nValue, int nMin, int nMax) {
        if (i >= tokens.size() || tokens[i].bQuoted) {
            m_strError = std::string(pszWhat) + " expected";
            return false;
        }
        const std::string& s = tokens[i].strText;
        long long v = 0;
        auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        if (ec != std::errc() || ptr != s.data() + s.size() || s.empty() || s[0] == '+') {
            m_strError = std::string(pszWhat) + " must be a decimal number, not \"" + s + "\"";
            return false;
        }
        if (v < nMin || v > nMax) {
            m_strError = std::string(pszWhat) + " out of range: " + s;
            return false;
        }
        nValue = static_cast<int>(v);
        return true;
    }

    bool Id(const std::vector<stTOKEN>& tokens, size_t i, int& nValue) {
        // -1 is the usual id of a label nobody addresses.
        return Number(tokens, i, "id", nValue, -1, 0x7FFFFFFF);
    }

    bool Text(const std::vector<stTOKEN>& tokens, size_t i, std::string& strText) {
        if (i >= tokens.size() || !tokens[i].bQuoted) {
            m_strError = "quoted text expected";
            return false;
        }
        strText = tokens[i].strText;
        return true;
    }

    bool Flags(const std::vector<stTOKEN>& tokens, size_t i, std::vector<std::string>& flags) {
        for (; i < tokens.size(); ++i) {
            if (tokens[i].bQuoted) {
                m_strError = "flag expected, found a quoted text";
                return false;
            }
            flags.push_back(tokens[i].strText);
        }
        return true;
    }

    bool End(const std::vector<stTOKEN>& tokens, size_t nCount) {
        if (tokens.size() > nCount) {
            m_strError = "unexpected \"" + tokens[nCount].strText + "\" at the end of the line";
            return false;
        }
        return true;
    }

    bool Rect(const std::vector<stTOKEN>& tokens, size_t i, int& x, int& y, int& cx, int& cy) {
        const int m = CResourceModule::kMaxCoordinate;
        return Number(tokens, i, "x", x, -m, m) && Number(tokens, i + 1, "y", y, -m, m) &&
               Number(tokens, i + 2, "width", cx, 0, m) && Number(tokens, i + 3, "height", cy, 0, m);
    }

    bool Statement(CResourceModule& module, const std::vector<stTOKEN>& tokens) {
        const stTOKEN& head = tokens[0];
        if (head.bQuoted) {
            m_strError = "statement expected, found a quoted text";
            return false;
        }
        if (m_pDialog) return DialogLine(module, tokens);
        if (!m_menuStack.empty()) return MenuLine(module, tokens);
        if (Keyword(head, "STRING")) {
            int nId = 0;
            std::string strText;
            if (!Id(tokens, 1, nId) || !Text(tokens, 2, strText) || !End(tokens, 3)) return false;
            module.m_mapStrings[nId] = std::move(strText);
            return true;
        }
        if (Keyword(head, "DIALOG")) {
            m_dialog = stDLGTEMPLATE();
            if (!Id(tokens, 1, m_dialog.nId) || !Rect(tokens, 2, m_dialog.x, m_dialog.y, m_dialog.cx, m_dialog.cy) ||
                !Text(tokens, 6, m_dialog.strCaption) || !Flags(tokens, 7, m_dialog.flags))
                return false;
            m_pDialog = &m_dialog;
            return true;
        }
        if (Keyword(head, "MENU")) {
            m_menu = stMENUTEMPLATE();
            if (!Id(tokens, 1, m_menu.nId) || !End(tokens, 2)) return false;
            m_menuStack.push_back(&m_menu.items);
            return true;
        }
        m_strError = "unknown statement \"" + head.strText + "\"";
        return false;
    }

    bool DialogLine(CResourceModule& module, const std::vector<stTOKEN>& tokens) {
        if (Keyword(tokens[0], "END")) {
            if (!End(tokens, 1)) return false;
            module.m_mapDialogs[m_dialog.nId] = std::move(m_dialog);
            m_pDialog = nullptr;
            return true;
        }
        if (!Keyword(tokens[0], "CONTROL")) {
            m_strError = "CONTROL or END expected inside DIALOG, found \"" + tokens[0].strText + "\"";
            return false;
        }
        stDLGCONTROL c;
        if (!Id(tokens, 1, c.nId)) return false;
        if (tokens.size() < 3 || tokens[2].bQuoted || tokens[2].strText.empty()) {
            m_strError = "control class expected";
            return false;
        }
        c.strClass = tokens[2].strText;
        if (!Rect(tokens, 3, c.x, c.y, c.cx, c.cy) || !Text(tokens, 7, c.strText) || !Flags(tokens, 8, c.flags))
            return false;
        m_dialog.controls.push_back(std::move(c));
        return true;
    }

    bool MenuLine(CResourceModule& module, const std::vector<stTOKEN>& tokens) {
        std::vector<stMENUITEM>& items = *m_menuStack.back();
        const stTOKEN& head = tokens[0];
        if (Keyword(head, "END")) {
            if (!End(tokens, 1)) return false;
            m_menuStack.pop_back();
            if (m_menuStack.empty()) module.m_mapMenus[m_menu.nId] = std::move(m_menu);
            return true;
        }
        if (Keyword(head, "SEPARATOR")) {
            if (!End(tokens, 1)) return false;
            stMENUITEM item;
            item.bSeparator = true;
            items.push_back(std::move(item));
            return true;
        }
        if (Keyword(head, "ITEM")) {
            stMENUITEM item;
            if (!Id(tokens, 1, item.nId) || !Text(tokens, 2, item.strText) || !End(tokens, 3)) return false;
            items.push_back(std::move(item));
            return true;
        }
        if (Keyword(head, "POPUP")) {
            if (static_cast<int>(m_menuStack.size()) > CResourceModule::kMaxMenuDepth) {
                m_strError = "popups nested too deep";
                return false;
            }
            stMENUITEM item;
            item.bPopup = true;
            if (!Text(tokens, 1, item.strText) || !End(tokens, 2)) return false;
            items.push_back(std::move(item));
            // The pointers below the top stay valid: only the innermost list grows.
            m_menuStack.push_back(&items.back().children);
            return true;
        }
        m_strError = "ITEM, POPUP, SEPARATOR or END expected inside MENU, found \"" + head.strText + "\"";
        return false;
    }
};

std::shared_ptr<const CResourceModule> CResourceModule::Parse(std::string_view text, std::string* pError) {
    auto module = std::make_shared<CResourceModule>();
    std::string strError;
    CResourceParser parser(text);
    if (!parser.Run(*module, strError)) {
        if (pError) *pError = strError;
        return nullptr;
    }
    if (pError) pError->clear();
    return module;
}

std::shared_ptr<const CResourceModule> CResourceModule::LoadFile(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    if (!in) return nullptr;
    std::string data;
    char buffer[65536];
    while (in) {
        in.read(buffer, sizeof buffer);
        data.append(buffer, static_cast<size_t>(in.gcount()));
        if (data.size() > kMaxFileSize) return nullptr;
    }
    if (in.bad()) return nullptr;
    std::shared_ptr<const CResourceModule> module = Parse(data);
    // A file that defines nothing (cut to nothing by a failed copy, or only comments) is no module:
    // taking it would switch the language while every text stayed English.
    if (module && module->m_mapStrings.empty() && module->m_mapDialogs.empty() && module->m_mapMenus.empty())
        return nullptr;
    return module;
}

std::shared_ptr<const CResourceModule> CResourceModule::English() {
    static const std::shared_ptr<const CResourceModule> english = [] {
        auto module = Parse(EmbeddedEnglishResources());
        // The built-in texts are checked by the tests; an empty module keeps the program running regardless.
        return module ? module : std::make_shared<const CResourceModule>();
    }();
    return english;
}

bool CResourceModule::HasString(int nId) const {
    return m_mapStrings.count(nId) != 0;
}

std::string CResourceModule::LoadString(int nId) const {
    auto it = m_mapStrings.find(nId);
    return it == m_mapStrings.end() ? std::string() : it->second;
}

const stDLGTEMPLATE* CResourceModule::FindDialog(int nId) const {
    auto it = m_mapDialogs.find(nId);
    return it == m_mapDialogs.end() ? nullptr : &it->second;
}

const stMENUTEMPLATE* CResourceModule::FindMenu(int nId) const {
    auto it = m_mapMenus.find(nId);
    return it == m_mapMenus.end() ? nullptr : &it->second;
}

std::vector<int> CResourceModule::StringIds() const {
    std::vector<int> ids;
    for (const auto& [id, text] : m_mapStrings) ids.push_back(id);
    return ids;
}

std::vector<int> CResourceModule::DialogIds() const {
    std::vector<int> ids;
    for (const auto& [id, dlg] : m_mapDialogs) ids.push_back(id);
    return ids;
}

namespace {
std::mutex g_currentMutex;
std::shared_ptr<const CResourceModule> g_current;
}  // namespace

std::shared_ptr<const CResourceModule> CurrentResources() {
    std::lock_guard<std::mutex> lock(g_currentMutex);
    if (g_current) return g_current;
    return CResourceModule::English();
}

void SetCurrentResources(std::shared_ptr<const CResourceModule> module) {
    std::lock_guard<std::mutex> lock(g_currentMutex);
    g_current = std::move(module);
}

std::string LoadStr(int nId) {
    auto module = CurrentResources();
    if (module->HasString(nId)) return module->LoadString(nId);
    return CResourceModule::English()->LoadString(nId);
}

int DluToPixelX(int x) {
    return static_cast<int>(static_cast<long long>(x) * 3 / 2);
}
int DluToPixelY(int y) {
    return static_cast<int>(static_cast<long long>(y) * 13 / 8);
}

}  // namespace platform
