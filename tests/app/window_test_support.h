#pragma once
// What the window's Qt tests share: finding a control by its name, waiting
// for the threads' last posts, and a stand-in for the system's URL handlers
// that records what reaches them.

#include <QCoreApplication>
#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <initializer_list>
#include <vector>

#include "app/detached_thread.h"

namespace sirelo::testing {

// The control named `name` under `root`; the test stops when there is none.
template <typename T = QWidget>
T* FindControl(const QObject* root, const char* name) {
    T* widget = root->findChild<T*>(QString::fromUtf8(name));
    if (widget == nullptr) qFatal("no control %s", name);
    return widget;
}

// Ended threads have posted all they ever will, though the window may not have
// taken it yet; deliver it so that what follows sees what they left behind.
inline bool ThreadsEndedAndTheirPostsDelivered() {
    if (LiveThreadCount() != 0) return false;
    QCoreApplication::sendPostedEvents();
    return true;
}

// Handles the given URL schemes while it lives, keeping every URL it is given.
class UrlSink : public QObject {
    Q_OBJECT

  public:
    explicit UrlSink(std::initializer_list<const char*> schemes) {
        for (const char* scheme : schemes) {
            schemes_.push_back(QString::fromLatin1(scheme));
            QDesktopServices::setUrlHandler(schemes_.back(), this, "open");
        }
    }
    ~UrlSink() override {
        for (const QString& scheme : schemes_)
            QDesktopServices::unsetUrlHandler(scheme);
    }

    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url) { opened.append(url); }

  private:
    std::vector<QString> schemes_;
};

}  // namespace sirelo::testing
