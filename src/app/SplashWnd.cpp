#include "app/SplashWnd.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace {

CSplashWnd* g_pSplash = nullptr;

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;

uint32_t ReadU32(std::string_view data, size_t nAt) {
    return static_cast<uint32_t>(static_cast<unsigned char>(data[nAt])) |
           static_cast<uint32_t>(static_cast<unsigned char>(data[nAt + 1])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(data[nAt + 2])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(data[nAt + 3])) << 24;
}

uint16_t ReadU16(std::string_view data, size_t nAt) {
    return static_cast<uint16_t>(static_cast<unsigned char>(data[nAt]) | static_cast<unsigned char>(data[nAt + 1])
                                                                             << 8);
}

}  // namespace

std::optional<QImage> CSplashWnd::DecodeBitmap(std::string_view data) {
    if (data.size() < kFileHeaderBytes + kInfoHeaderBytes) return std::nullopt;
    if (data[0] != 'B' || data[1] != 'M') return std::nullopt;
    const uint32_t nHeaderSize = ReadU32(data, kFileHeaderBytes);
    if (nHeaderSize < kInfoHeaderBytes || nHeaderSize > data.size() - kFileHeaderBytes) return std::nullopt;
    const int32_t nWidth = static_cast<int32_t>(ReadU32(data, kFileHeaderBytes + 4));
    const int32_t nHeight = static_cast<int32_t>(ReadU32(data, kFileHeaderBytes + 8));
    const uint16_t nBits = ReadU16(data, kFileHeaderBytes + 14);
    const uint32_t nColours = ReadU32(data, kFileHeaderBytes + 32);
    if (nWidth <= 0 || nWidth > kMaxSide || nHeight == 0 || nHeight < -kMaxSide || nHeight > kMaxSide)
        return std::nullopt;

    // The colour table follows the information header and must be in the file whole.
    uint32_t nEntries = nColours;
    if (nEntries == 0) {
        if (nBits == 1) nEntries = 2;
        if (nBits == 4) nEntries = 16;
        if (nBits == 8) nEntries = 256;
    }
    if (nEntries > 256 && nBits <= 8) return std::nullopt;
    if (nEntries > 65536) return std::nullopt;
    const size_t nTableEnd = kFileHeaderBytes + nHeaderSize + static_cast<size_t>(nEntries) * 4;
    if (nTableEnd > data.size()) return std::nullopt;

    // Uncompressed pixels must be in the file whole: a cut file is no splash.
    const uint32_t nCompression = ReadU32(data, kFileHeaderBytes + 16);
    const uint32_t nOffset = ReadU32(data, 10);
    if (nOffset > data.size()) return std::nullopt;
    if (nCompression == 0 || nCompression == 3) {
        const uint64_t nRow = (static_cast<uint64_t>(nWidth) * nBits + 31) / 32 * 4;
        const uint64_t nRows = static_cast<uint64_t>(nHeight < 0 ? -static_cast<int64_t>(nHeight) : nHeight);
        if (nOffset + nRow * nRows > data.size()) return std::nullopt;
    }

    QImage image;
    if (!image.loadFromData(QByteArray(data.data(), static_cast<qsizetype>(data.size())), "BMP") || image.isNull())
        return std::nullopt;
    return image;
}

std::optional<QImage> CSplashWnd::ReadBitmapFile(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    if (!file) return std::nullopt;
    std::string data;
    char buffer[65536];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        data.append(buffer, static_cast<size_t>(file.gcount()));
        if (data.size() > kMaxFileBytes) return std::nullopt;
    }
    if (file.bad()) return std::nullopt;
    return DecodeBitmap(data);
}

bool CSplashWnd::ShowSplashScreen(const std::string& strPath, int* pbContinue, int nTimeoutMs) {
    if (g_pSplash) return false;
    std::optional<QImage> image = ReadBitmapFile(strPath);
    if (!image) return false;
    auto* pWnd = new CSplashWnd(std::move(*image), pbContinue, nTimeoutMs);
    pWnd->show();
    pWnd->raise();
    pWnd->activateWindow();
    // The time on the screen counts from when the splash is shown.
    pWnd->m_timer.start(pWnd->m_nTimeoutMs);
    return true;
}

CSplashWnd* CSplashWnd::Current() {
    return g_pSplash;
}

CSplashWnd::CSplashWnd(QImage image, int* pbContinue, int nTimeoutMs)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_image(std::move(image)),
      m_pbContinue(pbContinue) {
    g_pSplash = this;
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(m_image.size());
    if (QScreen* pScreen = QGuiApplication::primaryScreen()) {
        const QRect rcScreen = pScreen->geometry();
        move(rcScreen.center() - QPoint(m_image.width() / 2, m_image.height() / 2));
    }
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CSplashWnd::HideSplashScreen);
    m_nTimeoutMs = nTimeoutMs;
}

CSplashWnd::~CSplashWnd() {
    if (g_pSplash == this) g_pSplash = nullptr;
    if (m_pbContinue) *m_pbContinue = 0;
}

void CSplashWnd::HideSplashScreen() {
    m_timer.stop();
    if (m_pbContinue) *m_pbContinue = 0;
    m_pbContinue = nullptr;
    hide();
}

void CSplashWnd::DestroySplash() {
    delete g_pSplash;
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_image);
}

void CSplashWnd::mousePressEvent(QMouseEvent*) {
    HideSplashScreen();
}

void CSplashWnd::keyPressEvent(QKeyEvent*) {
    HideSplashScreen();
}
