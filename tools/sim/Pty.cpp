#include "Pty.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

Pty::Pty(QObject *parent) : QObject(parent) {}

Pty::~Pty() {
    close();
}

bool Pty::open(QString *error) {
    close();
    const int fd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (fd < 0) {
        *error = QStringLiteral("posix_openpt: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    const char *name = nullptr;
    if (::grantpt(fd) != 0 || ::unlockpt(fd) != 0 || (name = ::ptsname(fd)) == nullptr) {
        *error =
            QStringLiteral("pseudo-terminal set-up: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return false;
    }
    const QString slave = QString::fromLocal8Bit(name);
    const int hold = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (hold < 0) {
        *error = QStringLiteral("open %1: %2").arg(slave, QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return false;
    }
    termios tio{};
    if (::tcgetattr(hold, &tio) == 0) {
        ::cfmakeraw(&tio);
        tio.c_cc[VMIN] = 1;
        tio.c_cc[VTIME] = 0;
        ::tcsetattr(hold, TCSANOW, &tio);
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);

    master_ = fd;
    slaveHold_ = hold;
    slaveName_ = slave;
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &Pty::onReadable);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &Pty::flush);
    return true;
}

bool Pty::createLink(const QString &path, QString *error) {
    if (!isOpen()) {
        *error = QStringLiteral("no pseudo-terminal open");
        return false;
    }
    const QByteArray target = QFile::encodeName(slaveName_);
    const QByteArray where = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(where.constData(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        *error = QStringLiteral("%1 exists and is not a symbolic link").arg(path);
        return false;
    }
    // Made beside the target name and renamed over it, so a stale link is replaced in one step.
    const QByteArray temp = where + ".tmp" + QByteArray::number(::getpid());
    ::unlink(temp.constData());
    if (::symlink(target.constData(), temp.constData()) != 0 ||
        ::rename(temp.constData(), where.constData()) != 0) {
        *error = QStringLiteral("link %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        ::unlink(temp.constData());
        return false;
    }
    link_ = path;
    return true;
}

void Pty::close() {
    if (!link_.isEmpty()) {
        // Only our own link goes: it must still point at this terminal.
        const QString now = QFileInfo(link_).symLinkTarget();
        if (QFileInfo(link_).isSymLink() && (now.isEmpty() || now == slaveName_))
            ::unlink(QFile::encodeName(link_).constData());
        link_.clear();
    }
    delete readNotifier_;
    readNotifier_ = nullptr;
    delete writeNotifier_;
    writeNotifier_ = nullptr;
    if (slaveHold_ >= 0) ::close(slaveHold_);
    if (master_ >= 0) ::close(master_);
    slaveHold_ = master_ = -1;
    pending_.clear();
}

void Pty::write(const QByteArray &bytes) {
    if (!isOpen() || bytes.isEmpty()) return;
    pending_ += bytes;
    if (pending_.size() > MaxPending) pending_.remove(0, pending_.size() - MaxPending);
    flush();
}

void Pty::flush() {
    while (!pending_.isEmpty()) {
        const ssize_t n = ::write(master_, pending_.constData(), size_t(pending_.size()));
        if (n > 0) {
            pending_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        break; // full (EAGAIN) or failing: wait for room
    }
    if (writeNotifier_) writeNotifier_->setEnabled(!pending_.isEmpty());
}

void Pty::onReadable() {
    QByteArray data;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            data.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0 || errno != EAGAIN) readNotifier_->setEnabled(false); // broken: never spin on it
        break;
    }
    if (!data.isEmpty()) emit received(data);
}
