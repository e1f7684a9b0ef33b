#pragma once
// The operation panel's serial link: one port opened by name at 115200 8N1, whole frames written,
// every arrival handed to the listener in arrival order on the thread that owns the hub.
// Implemented by CMSComm (Qt Serial Port) and by the simulator's in-process link.
#include <cstddef>
#include <cstdint>
#include <string>

namespace somatrix {

class CSerialLinkListener {
public:
    virtual ~CSerialLinkListener() = default;
    // One receive event: the bytes that arrived together.
    virtual void OnComm(const uint8_t* data, size_t n) = 0;
    // The port went away under us (device unplugged, pseudo-terminal closed). The link has
    // already closed itself when this is called.
    virtual void OnLinkLost(const std::string& error) = 0;
};

class CSerialLink {
public:
    virtual ~CSerialLink() = default;
    // Opens `port` at 115200 8N1, binary. False with the port's error text when missing or busy.
    virtual bool Open(const std::string& port, std::string& error) = 0;
    // Closes the port if open. False with an error text when closing failed.
    virtual bool Close(std::string& error) = 0;
    virtual bool IsOpen() const = 0;
    // The name the link was opened with; empty when closed.
    virtual std::string CurrentPort() const = 0;
    // Writes the bytes unchanged, in order. False with an error text (port closed, write failed).
    virtual bool Write(const uint8_t* data, size_t n, std::string& error) = 0;
    // Where receive events and link loss go; null to stop delivery.
    virtual void SetListener(CSerialLinkListener* listener) = 0;
};

}  // namespace somatrix
