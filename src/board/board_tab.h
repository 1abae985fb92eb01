#pragma once
// The board tab (院线热映): twelve slots in two halves of six sharing one place,
// and the two arrows that switch between the halves. The loader fills the film
// slots from its own thread through posted updates; the user's presses and
// wheel turns are handled here on the window thread.

#include <QImage>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "board/board_loader.h"
#include "board/movie_board.h"

class QLabel;
class QLineEdit;

namespace sirelo {

class BoardLabel;

class BoardTab : public QWidget {
  public:
    // `searchBox` is 搜索名称, which a press on a film poster fills;
    // `openSponsorWindow` shows the sponsor window, modal over the main window.
    BoardTab(QLineEdit* searchBox, std::function<void()> openSponsorWindow,
             QWidget* parent = nullptr);

    // Runs `body` on a thread of its own and lets it go; false when no thread
    // could be started. The window passes the program's counted threads.
    using ThreadStarter = std::function<bool(std::function<void()>)>;

    // Starts the loader on `boardPageUrl` (the ranking site + the board's page)
    // through `startThread`; it ends by itself. Without a thread the tab keeps
    // its start-up look. `board` lives as long as the process.
    void startLoading(const BoardDefinition& board, const std::string& boardPageUrl,
                      const ThreadStarter& startThread);

    void toggleBoardHalf();
    void copyFilmName(int slot);

    // What the loader's posted updates apply, on the window thread. A null
    // image leaves the poster without one.
    void showPoster(int slot, const QImage& image);
    void showLabel(int slot, SlotLabel label, const QString& text);

    const MovieBoard& board() const { return board_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct SlotControls {
        QLabel* poster = nullptr;
        BoardLabel* stars = nullptr;
        BoardLabel* score = nullptr;
        BoardLabel* name = nullptr;
        BoardLabel* date = nullptr;
    };

    void buildSlot(int slot);
    QLabel* buildArrow(int number, int left, const QString& image);
    // The slot whose poster (or a label on it) is `watched`, or 0.
    int posterSlot(const QObject* watched) const;

    QLineEdit* 搜索名称;
    std::function<void()> openSponsorWindow_;
    std::array<SlotControls, 13> slots_{};  // index = slot number; 0 unused
    QLabel* 图片框13 = nullptr;             // the arrows, left and right
    QLabel* 图片框14 = nullptr;
    MovieBoard board_;
};

}  // namespace sirelo
