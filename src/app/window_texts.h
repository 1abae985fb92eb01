#pragma once
// The fixed texts of the window: the sponsor lines and the release notes.

#include <QString>
#include <QStringList>

namespace sirelo {

// The five lines of the sponsor page and window.
QStringList SponsorLines();
// The label text of tab 4: six empty lines, then the five lines with a blank
// line between each two.
QString SponsorPageText();

// Newest first, one entry per version; every line followed by a blank line,
// with CR LF line ends.
QString ReleaseNotesText();

}  // namespace sirelo
