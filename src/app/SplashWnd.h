#pragma once
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

// The splash window shown while the program starts: the bitmap of "Splash.Opn" one to one, in a
// borderless window centred on the screen. A timer, a mouse button or a key closes it and clears
// the go-on flag the start-up waits on.
class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    // Reads the bitmap and shows the splash. False, with no window, when the file is missing, short,
    // not a "BM" bitmap or its colour table cannot be built.
    static bool ShowSplashScreen(const std::string& strPath, int* pbContinue, int nTimeoutMs = 3000);
    // The splash on the screen, nullptr when none.
    static CSplashWnd* Current();

    // The bitmap of a whole splash file; nothing when it cannot be used. The colour table has as many
    // entries as the header's colour count, or 2, 16 or 256 for 1, 4 or 8 bits per pixel without one.
    static std::optional<QImage> DecodeBitmap(std::string_view data);
    static std::optional<QImage> ReadBitmapFile(const std::string& strPath);

    // Largest splash file and picture side accepted; a damaged header cannot ask for more.
    static constexpr size_t kMaxFileBytes = 64 * 1024 * 1024;
    static constexpr int kMaxSide = 8192;

    ~CSplashWnd() override;

    // Hides the splash and ends the start-up's wait.
    void HideSplashScreen();
    // Deletes the splash once the wait is over (not from inside its own handlers).
    static void DestroySplash();

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    CSplashWnd(QImage image, int* pbContinue, int nTimeoutMs);

    QImage m_image;
    int* m_pbContinue;
    QTimer m_timer;
    int m_nTimeoutMs = 3000;
};
