#pragma once
// The loader's sink on the window side: decodes each poster on the loader
// thread and posts every update to the window thread, where the board tab
// applies them in the order they were sent.

#include <QPointer>

#include "board/board_loader.h"

namespace sirelo {

class BoardTab;

class PostedBoardSink : public BoardSink {
  public:
    explicit PostedBoardSink(QPointer<BoardTab> tab) : tab_(std::move(tab)) {}

    bool ShowPoster(int slot, const Bytes& image) override;
    void ShowLabel(int slot, SlotLabel label, const std::string& gbkText) override;
    void ShowOutcome(const BoardOutcome& outcome) override;

  private:
    // Copied into each posted update on the loader thread, dereferenced only on the
    // window thread: the tab may be gone by then.
    QPointer<BoardTab> tab_;
};

}  // namespace sirelo
