#pragma once
// Helpers of the start-up tests: a temporary folder per test, small files, a Qt application object.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/RegistryStore.h"

namespace apptest {

// A QApplication for the whole test binary (fonts and widgets need one), and a settings folder
// of its own so that nothing reaches the real home folder.
class CQtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        std::string strTemplate = (std::filesystem::temp_directory_path() / "lumetra-reg-XXXXXX").string();
        if (char* pszDir = mkdtemp(strTemplate.data())) {
            m_strRegistryDir = pszDir;
            setenv("LUMETRA_REGISTRY_DIR", pszDir, 1);
            platform::CRegistryStore::ReloadInstance();
        }
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "lumetra-test";
            static char* argv[] = {name, nullptr};
            m_pApp = new QApplication(argc, argv);
        }
    }
    void TearDown() override {
        delete m_pApp;
        m_pApp = nullptr;
        if (!m_strRegistryDir.empty()) {
            std::error_code ec;
            std::filesystem::remove_all(m_strRegistryDir, ec);
        }
    }

private:
    QApplication* m_pApp = nullptr;
    std::string m_strRegistryDir;
};

// A fresh folder below the system's temporary folder, removed with the object.
class CTempDir {
public:
    CTempDir() {
        std::string strTemplate = (std::filesystem::temp_directory_path() / "lumetra-app-XXXXXX").string();
        if (char* pszDir = mkdtemp(strTemplate.data())) m_path = pszDir;
    }
    ~CTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }
    std::string operator/(const std::string& strName) const { return (m_path / strName).string(); }

private:
    std::filesystem::path m_path;
};

inline void WriteFile(const std::string& strPath, const std::string& strContent) {
    std::filesystem::create_directories(std::filesystem::path(strPath).parent_path());
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file << strContent;
}

inline std::string ReadFile(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Sets or clears an environment variable for the life of the object.
class CScopedEnv {
public:
    CScopedEnv(const char* pszName, const std::string& strValue) : m_strName(pszName) {
        if (const char* pszOld = std::getenv(pszName)) {
            m_bHadOld = true;
            m_strOld = pszOld;
        }
        setenv(pszName, strValue.c_str(), 1);
    }
    ~CScopedEnv() {
        if (m_bHadOld)
            setenv(m_strName.c_str(), m_strOld.c_str(), 1);
        else
            unsetenv(m_strName.c_str());
    }
    CScopedEnv(const CScopedEnv&) = delete;
    CScopedEnv& operator=(const CScopedEnv&) = delete;

private:
    std::string m_strName;
    std::string m_strOld;
    bool m_bHadOld = false;
};

// Changes the working directory for the life of the object.
class CScopedCwd {
public:
    explicit CScopedCwd(const std::filesystem::path& path) : m_old(std::filesystem::current_path()) {
        std::filesystem::create_directories(path);
        std::filesystem::current_path(path);
    }
    ~CScopedCwd() {
        std::error_code ec;
        std::filesystem::current_path(m_old, ec);
    }
    CScopedCwd(const CScopedCwd&) = delete;
    CScopedCwd& operator=(const CScopedCwd&) = delete;

private:
    std::filesystem::path m_old;
};

}  // namespace apptest
