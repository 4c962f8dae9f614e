#pragma once
// Wi-Fi ELM327 adapters: the adapter opens a TCP port (usually 192.168.0.10:35000) and speaks the same
// text protocol as on a serial line, so a TCP connection is one more byte backend under TSerial.
//
// Nothing waits: opening starts the connection and returns; until it is made the port counts as open
// and what is written is kept and sent once connected. A refused, failed or dropped connection makes
// the port closed, which the engines already handle as a closed port.
#include "link/SerialBackend.h"

#include <QString>
#include <memory>

struct TTcpAddress {
    QString Host; // a name, an IPv4 address, or an IPv6 address without its brackets
    quint16 Port = 0;
};

// "HOST:PORT" ("192.168.0.10:35000", "obd.local:35000", "[::1]:35000") with a port 1..65535; device
// paths ("/dev/ttyUSB0", "./link") and bare numbers are not addresses.
bool ParseTcpAddress(const QString &text, TTcpAddress *address = nullptr);
inline bool IsTcpAddress(const QString &text) {
    return ParseTcpAddress(text);
}

// The address a user picks for a Wi-Fi adapter when he has no other.
inline constexpr const char *DefaultWifiAdapter = "192.168.0.10:35000";

// A TCP connection to HOST:PORT (the path given to Open).
std::unique_ptr<TSerialBackend> MakeTcpBackend();
