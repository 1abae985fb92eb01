#pragma once
// The board loader: the body of the board thread. It reads the film-ranking
// page once, and for films 1-10 fetches each poster in turn and hands the
// slot's contents to the sink as soon as that poster has arrived.

#include <memory>
#include <string>

#include "net/bytes.h"
#include "net/transfer_outcome.h"
#include "sitedefs/site_definitions.h"

namespace sirelo {

enum class SlotLabel { Name, Date, Score, Stars };

// How a load went: the ranking page's transfer, the films found on it and the
// posters that could not be shown.
struct BoardOutcome {
    std::string host;
    TransferOutcome page;
    int films = 0;
    bool matchesCut = false;  // the page's pattern searches spent its budget
    int postersFailed = 0;
};

// Receives the board's contents on the loader thread; the window side turns
// them into posted updates. Calls for one slot come in this order: the poster,
// then the name, date, score and stars labels.
class BoardSink {
  public:
    virtual ~BoardSink() = default;
    // `image` holds the fetched bytes as they came, possibly empty or not an
    // image; false when they give no picture.
    virtual bool ShowPoster(int slot, const Bytes& image) = 0;
    virtual void ShowLabel(int slot, SlotLabel label, const std::string& gbkText) = 0;
    // Once the page is read, and again after the last film.
    virtual void ShowOutcome(const BoardOutcome& outcome) = 0;
};

// `boardPageUrl` is the ranking site's address followed by the board's page;
// `board` outlives the thread. Ends by itself; a page that cannot be fetched or
// holds no film fills nothing.
void loadMovieBoard(const BoardDefinition& board, std::string boardPageUrl,
                    std::shared_ptr<BoardSink> sink);

}  // namespace sirelo
