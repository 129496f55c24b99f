#include "library.h"

#include <algorithm>
#include <cstdio>

#include "loopback_transport.h"
#include "port_names.h"
#include "wire/command.h"
#include "serial_transport.h"

namespace zev485 {
namespace {

std::int16_t resultOf(Outcome outcome) {
    switch (outcome) {
    case Outcome::Answered: return kResultOk;
    case Outcome::NoAnswer: return kResultNoAnswer;
    case Outcome::Damaged: return kResultDamaged;
    case Outcome::PortFailed:
    case Outcome::Interrupted: return kResultPortClosed;
    }
    return kResultPortClosed;
}

// A write is answered by ACK or NAK; a value reply to it is a wrong reply.
bool acknowledgement(const Answer& a) { return a.kind != wire::Reply::Kind::Value; }

std::int16_t writeResult(const Exchange& ex) {
    if (ex.outcome != Outcome::Answered)
        return resultOf(ex.outcome);
    return ex.answer.kind == wire::Reply::Kind::Ack ? kResultOk : kResultRefused;
}

// The zone item a SetValEx parameter code writes, and the cache kind it changes.
bool zoneItemOf(int parameter, char& item, int& cacheKind) {
    cacheKind = 0;
    if (parameter >= 1 && parameter <= 99) {
        item = wire::kItemParameter;
        return true;
    }
    switch (parameter) {
    case 0: item = wire::kItemSetpoint; cacheKind = kKindSetpoint; return true;
    case 2001: item = wire::kItemMode; return true;
    case 2002: item = wire::kItemTuning; return true;
    case 2003: item = wire::kItemTuneAck; return true;
    case 3000: item = wire::kItemOutput; cacheKind = kKindOutput; return true;
    default: return false;
    }
}

bool sendableCommand(std::string_view command, int& address) {
    if (command.size() < 4 || command.size() > wire::kMaxBody)
        return false;
    for (unsigned char c : command)
        if (c < 0x20 || c > 0x7E)
            return false;
    if (command[0] != 'G' || command[1] < '0' || command[1] > '9' || command[2] < '0' ||
        command[2] > '9')
        return false;
    address = (command[1] - '0') * 10 + (command[2] - '0');
    return true;
}

}  // namespace

Library& Library::instance() {
    static Library library;
    return library;
}

Library::Library()
    : poller_(port_, table_, cache_),
      logger_([this](std::vector<wire::ZoneSample>& out) {
          // Without the scan the cache only holds old values: record none.
          if (poller_.enabled())
              cache_.fillRecord(table_.logZones(), out);
          else
              out.assign(kLogZones, noValueSample());
      }),
      slave_(cache_, table_) {
    logger_.start();
}

Library::~Library() {
    logger_.stop();
    slave_.close();
    port_.replace(nullptr);
}

std::unique_ptr<Transport> Library::openTransport(const PortRequest& request, bool allowLoopback,
                                                  bool& loopback) {
    std::lock_guard lock(mutex_);
    loopback = allowLoopback && peer_;
    if (loopback) {
        lastPortError_.clear();
        return std::make_unique<LoopbackTransport>(peer_);
    }
    const std::string device = comPortDevice(request.port);
    if (device.empty()) {
        lastPortError_ = "COM" + std::to_string(request.port) + ": no such port number";
        return nullptr;
    }
    std::string error;
    auto transport = SerialTransport::open({device, request.mode, request.baud}, error);
    lastPortError_ = transport ? std::string() : "COM" + std::to_string(request.port) + " " + error;
    if (!transport)
        std::fprintf(stderr, "zev485: %s\n", lastPortError_.c_str());
    return transport;
}

bool Library::openMasterPort(const PortRequest& request) {
    std::lock_guard configuring(portConfigMutex_);
    // Closing first frees the device when the same port is opened again.
    port_.replace(nullptr, [this](MasterLink*) { cache_.clearAll(); });
    {
        std::lock_guard lock(mutex_);
        masterPortNumber_ = 0;
        masterOnLoopback_ = false;
    }
    if (request.port == 0)
        return false;

    bool loopback = false;
    auto transport = openTransport(request, true, loopback);
    if (!transport)
        return false;
    LinkTiming timing;
    timing.answerTimeout = std::chrono::milliseconds(
        request.timeoutMs <= 0 ? kDefaultTimeoutMs
                               : std::clamp(request.timeoutMs, kMinTimeoutMs, kMaxTimeoutMs));
    timing.retries = std::clamp(request.retries, 0, kMaxRetries);
    {
        std::lock_guard lock(mutex_);
        masterPortNumber_ = request.port;
        masterOnLoopback_ = loopback;
    }
    port_.replace(std::make_unique<MasterLink>(std::move(transport), timing, stats_),
                  [this](MasterLink* link) {
                      cache_.clearAll();
                      if (link)
                          sendClock(*link);
                  });
    poller_.wake();
    return true;
}

bool Library::openSlavePort(const PortRequest& request, int firstAddress) {
    std::lock_guard configuring(portConfigMutex_);
    slave_.close();
    if (request.port == 0)
        return false;
    bool loopback = false;
    auto transport = openTransport(request, false, loopback);
    if (!transport)
        return false;
    slave_.open(std::move(transport), std::max(firstAddress, 1));
    return true;
}

bool Library::comPortAvailable(int port) {
    if (port < kFirstComPort || port > kLastComPort)
        return false;
    {
        std::lock_guard lock(mutex_);
        if (peer_)
            return !(port_.isOpen() && masterOnLoopback_ && masterPortNumber_ == port);
    }
    return comPortFree(port);
}

Exchange Library::command(int address, const std::string& body, const ReplyCheck& accept,
                          bool& open) {
    Exchange ex;
    open = port_.use(BusPriority::Command, [&](MasterLink& link) {
        if (link.portFailed())
            link.recover();
        ex = link.transact(address, body, link.tries(), accept);
    });
    return ex;
}

AskResult Library::ask(std::string_view commandText) {
    AskResult result;
    int address = 0;
    if (!sendableCommand(commandText, address)) {
        result.status = kResultBadArgument;
        return result;
    }
    const std::string body(commandText);
    if (address == 0) {
        Outcome sent = Outcome::PortFailed;
        if (!port_.use(BusPriority::Command, [&](MasterLink& l) { sent = l.broadcast(body); }))
            return result;
        result.status = sent == Outcome::Answered ? kResultOk : kResultPortClosed;
        return result;
    }
    bool open = false;
    const Exchange ex = command(address, body, {}, open);
    if (!open)
        return result;
    result.status = resultOf(ex.outcome);
    if (ex.outcome == Outcome::Answered)
        result.reply = ex.answer.raw;
    return result;
}

std::int16_t Library::setZoneValue(int address, int channel, int parameter, int value) {
    char item = 0;
    int cacheKind = 0;
    if (address < 1 || address > kMaxAddress || channel < 1 || channel > kMaxChannels ||
        !zoneItemOf(parameter, item, cacheKind))
        return kResultBadArgument;
    const std::string body = wire::zoneCommand(address, channel, item, parameter, value);
    bool open = false;
    const Exchange ex = command(address, body, acknowledgement, open);
    if (!open)
        return kResultPortClosed;
    const std::int16_t result = writeResult(ex);
    if (result == kResultOk) {
        if (cacheKind != 0)
            cache_.patch(address, channel, cacheKind, static_cast<std::int16_t>(value));
        poller_.readSoon(address);
    }
    return result;
}

std::int16_t Library::setGlobalValue(int address, const char* name, std::int32_t value) {
    if (address < 1 || address > kMaxAddress || !name || !wire::validMnemonic(name))
        return kResultBadArgument;
    const std::string body = wire::controllerCommand(address, name, value);
    if (body.size() > wire::kMaxBody)
        return kResultBadArgument;
    bool open = false;
    const Exchange ex = command(address, body, acknowledgement, open);
    if (!open)
        return kResultPortClosed;
    const std::int16_t result = writeResult(ex);
    if (result == kResultOk)
        poller_.readSoon(address);
    return result;
}

std::int32_t Library::value(int address, int channel, int kind) const {
    return cache_.value(address, channel, kind);
}

void Library::setOnline(int address, bool online) {
    table_.setOnline(address, online);
    if (!online)
        cache_.clear(address);
    poller_.wake();
}

void Library::enableScan(bool on) { poller_.setEnabled(on); }
void Library::setChannels(int address, int channels) { table_.setChannels(address, channels); }
void Library::setMaster(int address, int master) { table_.setMaster(address, master); }

void Library::readStats(int address, std::int32_t& good, std::int32_t& errors) const {
    stats_.read(address, good, errors);
}

void Library::resetStats() { stats_.reset(); }
void Library::setLogDirectory(const std::string& directory) { logger_.setDirectory(directory); }
void Library::enableLogging(bool on) { logger_.setEnabled(on); }

void Library::equalizeClock(std::int32_t secondsSinceMidnight) {
    {
        std::lock_guard lock(mutex_);
        clockSeconds_ = ((secondsSinceMidnight % kSecondsPerDay) + kSecondsPerDay) % kSecondsPerDay;
        clockSetAt_ = SteadyClock::now();
    }
    port_.use(BusPriority::Command, [this](MasterLink& link) { sendClock(link); });
}

void Library::sendClock(MasterLink& link) {
    std::int32_t seconds = 0;
    {
        std::lock_guard lock(mutex_);
        if (!clockSeconds_)
            return;
        const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(SteadyClock::now() - clockSetAt_);
        seconds = static_cast<std::int32_t>((*clockSeconds_ + elapsed.count()) % kSecondsPerDay);
    }
    link.broadcast(wire::controllerCommand(0, wire::kClockMnemonic, seconds));
}

void Library::installPeer(std::shared_ptr<LoopbackPeer> peer) {
    std::lock_guard lock(mutex_);
    peer_ = std::move(peer);
}

std::uint64_t Library::completedScans() const { return poller_.completedScans(); }
std::uint32_t Library::scansSinceChange() const { return poller_.scansSinceChange(); }

bool Library::waitForScans(std::uint64_t count, std::chrono::milliseconds timeout) {
    return poller_.waitForScans(count, timeout);
}

std::string Library::lastPortError() const {
    std::lock_guard lock(mutex_);
    return lastPortError_;
}

}  // namespace zev485
