#include "link/TSerial.h"

#include "link/TcpBackend.h"

#include <QFileInfo>
#include <sys/stat.h>

TSerial::TSerial(QObject *owner) : QObject(owner), PortName(QStringLiteral("Com1")) {}

TSerial::~TSerial() {
    PortClose();
}

TLineSettings TSerial::Line() const {
    TLineSettings l;
    l.BaudRate = BaudRate;
    l.DataBits = DataBits;
    l.Parity = Parity;
    l.StopBits = StopBits;
    return l;
}

void TSerial::UseBackend(std::shared_ptr<TSerialBackend> backend) {
    PortClose();
    testBackend_ = std::move(backend);
}

QString TSerial::ResolvePath() {
    if (!PortPath.isEmpty()) return PortPath;
    if (PortNumber >= FtdiPortBase) {
        const QList<TPortInfo> ftdi = FtdiPorts(portSource_ ? portSource_() : SystemPorts());
        const int i = PortNumber - FtdiPortBase;
        return i < ftdi.size() ? ftdi[i].SystemLocation : QString();
    }
    return DevicePathOfNumber(PortNumber);
}

namespace {
// Only character devices are serial ports; anything else must not be opened as one.
bool IsCharacterDevice(const QString &path) {
    struct stat st {};
    const QByteArray p = QFile::encodeName(QFileInfo(path).canonicalFilePath());
    return !p.isEmpty() && ::stat(p.constData(), &st) == 0 && S_ISCHR(st.st_mode);
}
} // namespace

bool TSerial::PortOpen(int port) {
    if (port > 0) {
        PortNumber = port;
        PortPath.clear();
    }
    if (PortNumber < 1) PortNumber = 1;
    PortClose();
    bool ok = false;
    PortFault = TPortFault::Other;
    PortFaultDetail.clear();
    if (testBackend_) {
        PortName = PortPath.isEmpty() ? QStringLiteral("mem:%1").arg(PortNumber) : PortPath;
        backend_ = testBackend_;
        ok = backend_->Open(PortName, Line());
    } else {
        PortName = ResolvePath();
        if (IsTcpAddress(PortName)) { // a Wi-Fi adapter
            backend_ = MakeTcpBackend();
            ok = backend_->Open(PortName, Line());
        } else if (PortName.isEmpty() || !QFileInfo::exists(PortName)) {
            PortFault = TPortFault::Missing;
        } else if (!IsCharacterDevice(PortName)) {
            PortFault = TPortFault::NotSerial;
        } else {
            backend_ = MakeDeviceBackend();
            ok = backend_->Open(PortName, Line());
        }
    }
    if (!ok) {
        if (backend_) {
            PortFault = backend_->OpenFault();
            PortFaultDetail = backend_->OpenError();
        }
        PortClose();
    } else {
        PortFault = TPortFault::None;
        CommOpen = 1;
        backend_->OnBytes = [this] { emit BajtyPrzyszly(); };
    }
    JustOpened = ok ? 1 : 0;
    return ok;
}

bool TSerial::PortOpenPath(const QString &path) {
    PortPath = path;
    const int n = PortIsTcp() ? 0 : PortNumberOfDevice(QFileInfo(path).canonicalFilePath());
    if (n > 0) PortNumber = n;
    return PortOpen(-1);
}

bool TSerial::PortIsTcp() const {
    return IsTcpAddress(PortPath);
}

void TSerial::PortClose() {
    if (backend_) {
        backend_->OnBytes = nullptr;
        backend_->Close();
        backend_.reset();
    }
    CommOpen = 0;
    JustOpened = 0;
}

bool TSerial::PortConnected() {
    return CommOpen && backend_ && backend_->Connected();
}

int TSerial::PortInQueCount() {
    return backend_ && CommOpen ? backend_->InQueCount() : -1;
}

int TSerial::PortRead(uint8_t *buf, int n) {
    return backend_ && CommOpen ? backend_->Read(buf, n) : -1;
}

int TSerial::PortWrite(const uint8_t *buf, int n) {
    return backend_ && CommOpen ? backend_->Write(buf, n) : -1;
}

void TSerial::PortPurgeRx() {
    if (backend_ && CommOpen) backend_->PurgeRx();
}

void TSerial::PortPurgeTx() {
    if (backend_ && CommOpen) backend_->PurgeTx();
}

void TSerial::PortSetComm() {
    if (backend_ && CommOpen) backend_->SetLine(Line());
}

QList<TPortMenuEntry> TSerial::PortList() {
    const QList<TPortInfo> ports = portSource_ ? portSource_() : SystemPorts();
    return PortMenuEntries(ports, PortPath.isEmpty() ? PortNumber : -1, PortConnected());
}

int TSerial::PortOnClick(int tag) {
    if (tag > 0) {
        PortNumber = tag;
        PortPath.clear();
        PortOpen(-1);
        return 0;
    }
    if (PortConnected()) {
        PortClose();
        return -1;
    }
    PortOpen(-1);
    return 0;
}
