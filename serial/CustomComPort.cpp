#include "serial/CustomComPort.h"

#include "serial/ComThread.h"
#include "serial/EComPort.h"

#include <cerrno>

TCustomComPort::TCustomComPort(QObject *owner) : QObject(owner)
{
}

TCustomComPort::~TCustomComPort()
{
    try {
        ClosePort();
    } catch (const std::exception &) {
        // The abort refused: nothing is left to report to; release the device anyway.
        m_thread.reset();
        CloseDeviceHandle();
    }
}

// ---- settings -------------------------------------------------------------------

template <typename T>
void TCustomComPort::changeLineSetting(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    ApplyLineSettings();
}

void TCustomComPort::setConnected(bool value)
{
    if (value == m_connected)
        return;
    if (value)
        OpenPort();
    else
        ClosePort();
}

void TCustomComPort::setBaudRate(TBaudRate value)
{
    changeLineSetting(m_baudRate, value);
}

void TCustomComPort::setCustomBaudRate(int value)
{
    changeLineSetting(m_customBaudRate, value);
}

void TCustomComPort::setStopBits(TStopBits value)
{
    changeLineSetting(m_stopBits, value);
}

void TCustomComPort::setDataBits(TDataBits value)
{
    changeLineSetting(m_dataBits, value);
}

void TCustomComPort::setDiscardNull(bool value)
{
    changeLineSetting(m_discardNull, value);
}

void TCustomComPort::setEventChar(char value)
{
    changeLineSetting(m_eventChar, value);
}

void TCustomComPort::setPort(const QString &value)
{
    if (value == m_port)
        return;
    m_port = value;
    if (m_connected) {
        ClosePort();
        OpenPort();
    }
}

void TCustomComPort::setEvents(TComEvents value)
{
    m_events = value;
}

void TCustomComPort::setSyncMethod(TSyncMethod value)
{
    if (value == m_syncMethod)
        return;
    // The event thread reads the mode while it exists.
    if (m_connected)
        throw EComPort(EComPort::SetWhileConnected);
    m_syncMethod = value;
}

void TCustomComPort::BeginSettingsUpdate()
{
    ++m_updateCount;
}

void TCustomComPort::EndSettingsUpdate()
{
    if (m_updateCount == 0)
        return;
    if (--m_updateCount == 0)
        ApplyAllSettings();
}

bool TCustomComPort::canApply() const
{
    return m_connected && m_updateCount == 0;
}

TDCB TCustomComPort::LineSettingsRecord() const
{
    const TComFlowControl &flow = m_flowControl;
    TDCB dcb;
    dcb.DCBlength = sizeof(TDCB);
    dcb.XonLim = std::uint16_t(m_buffer.InputSize() / 4);
    dcb.XoffLim = dcb.XonLim;
    dcb.EvtChar = m_eventChar;
    dcb.Flags = TDCB::fBinary;
    if (m_discardNull)
        dcb.Flags |= TDCB::fNull;
    if (flow.OutCTSFlow())
        dcb.Flags |= TDCB::fOutxCtsFlow;
    if (flow.OutDSRFlow())
        dcb.Flags |= TDCB::fOutxDsrFlow;
    dcb.Flags |= std::uint32_t(flow.ControlDTR()) << TDCB::dtrControlShift;
    dcb.Flags |= std::uint32_t(flow.ControlRTS()) << TDCB::rtsControlShift;
    if (flow.XonXoffOut())
        dcb.Flags |= TDCB::fOutX;
    if (flow.XonXoffIn())
        dcb.Flags |= TDCB::fInX;
    if (flow.DSRSensitivity())
        dcb.Flags |= TDCB::fDsrSensitivity;
    if (flow.TxContinueOnXoff())
        dcb.Flags |= TDCB::fTXContinueOnXoff;
    dcb.XonChar = flow.XonChar();
    dcb.XoffChar = flow.XoffChar();
    dcb.Parity = std::uint8_t(m_parity.Bits());
    dcb.StopBits = std::uint8_t(m_stopBits);
    dcb.ByteSize = std::uint8_t(5 + m_dataBits);
    dcb.BaudRate = std::uint32_t(m_baudRate == brCustom ? m_customBaudRate : BaudRateValue(m_baudRate));
    if (m_parity.Check()) {
        dcb.Flags |= TDCB::fParity;
        if (m_parity.Replace()) {
            dcb.Flags |= TDCB::fErrorChar;
            dcb.ErrorChar = m_parity.ReplaceChar();
        }
    }
    return dcb;
}

TCommTimeouts TCustomComPort::TimeoutsRecord() const
{
    // Each value goes over as its 32-bit pattern: -1 is the all-ones "maximum".
    return TCommTimeouts{std::uint32_t(m_timeouts.ReadInterval()),
                         std::uint32_t(m_timeouts.ReadTotalMultiplier()),
                         std::uint32_t(m_timeouts.ReadTotalConstant()),
                         std::uint32_t(m_timeouts.WriteTotalMultiplier()),
                         std::uint32_t(m_timeouts.WriteTotalConstant())};
}

void TCustomComPort::ApplyLineSettings()
{
    if (canApply())
        m_device->applyLineSettings(LineSettingsRecord());
}

void TCustomComPort::ApplyTimeoutSettings()
{
    if (canApply())
        m_device->applyTimeouts(TimeoutsRecord());
}

void TCustomComPort::ApplyBufferSizes()
{
    if (canApply())
        m_device->setupQueues(m_buffer.InputSize(), m_buffer.OutputSize());
}

void TCustomComPort::ApplyAllSettings()
{
    ApplyBufferSizes();
    ApplyLineSettings();
    ApplyTimeoutSettings();
}

// ---- opening and closing ----------------------------------------------------------

void TCustomComPort::OpenDeviceHandle()
{
    if (PortAddress::looksLikeAddress(m_port))
        m_device = &m_network;
    else
        m_device = &m_tty;
    m_device->open(m_port);
}

void TCustomComPort::CloseDeviceHandle()
{
    m_device->close();
}

void TCustomComPort::OpenPort()
{
    if (m_connected)
        return;
    DoBeforeOpen();
    OpenDeviceHandle();
    m_connected = true;
    configureAndStart();
    DoAfterOpen();
    reportModemLines();
}

void TCustomComPort::configureAndStart()
{
    try {
        ApplyAllSettings();
    } catch (...) {
        CloseDeviceHandle();
        m_connected = false;
        throw;
    }
    if (!m_events.empty())
        startEventThread();
}

void TCustomComPort::startEventThread()
{
    m_thread = std::make_unique<TComThread>(*this);
}

void TCustomComPort::reportModemLines()
{
    DoCTSChange(ReadModemSignals().contains(csCTS));
    DoDSRChange(ReadModemSignals().contains(csDSR));
    DoRLSDChange(ReadModemSignals().contains(csRLSD));
}

void TCustomComPort::ClosePort()
{
    if (!m_connected)
        return;
    DoCTSChange(false);
    DoDSRChange(false);
    DoRLSDChange(false);
    DoBeforeClose();
    AbortPendingIO();
    // Ends the thread before the handle goes, so the thread never uses a closed one.
    m_thread.reset();
    CloseDeviceHandle();
    m_connected = false;
    DoAfterClose();
}

void TCustomComPort::checkVanished()
{
    // The thread of this opening asks once, as its body ends.
    if (m_connected && m_thread && m_thread->Vanished())
        emit deviceVanished(EIO);
}

// ---- reading ---------------------------------------------------------------------

int TCustomComPort::PendingInputCount()
{
    return m_device->queueStatus().inputCount;
}

int TCustomComPort::ReadBytes(char *Data, int Count)
{
    if (Count <= 0)
        return 0;
    const int read = m_device->read(Data, Count);
    PendingInputCount();
    return read;
}

int TCustomComPort::ReadText(std::string &Text, int Count)
{
    Text.resize(std::size_t(std::max(Count, 0)));
    const int read = ReadBytes(Text.data(), Count);
    Text.resize(std::size_t(read));
    return read;
}

TComErrors TCustomComPort::ReadLineErrors()
{
    struct FlagMap
    {
        std::uint32_t flag;
        TComError error;
    };
    static constexpr FlagMap flagMap[] = {
        {0x0008, ceFrame}, {0x0004, ceRxParity}, {0x0002, ceOverrun}, {0x0001, ceRxOver},
        {0x0100, ceTxFull}, {0x0010, ceBreak},   {0x0400, ceIO},      {0x8000, ceMode}};

    const std::uint32_t flags = m_device->queueStatus().errorFlags;
    TComErrors errors;
    for (const FlagMap &entry : flagMap) {
        if (flags & entry.flag)
            errors.insert(entry.error);
    }
    if (!m_parity.Check())
        errors.remove(ceRxParity);
    return errors;
}

TComSignals TCustomComPort::ReadModemSignals()
{
    const std::uint32_t status = m_device->modemStatus();
    TComSignals lines;
    if (status & SerialDevice::modemCts)
        lines.insert(csCTS);
    if (status & SerialDevice::modemDsr)
        lines.insert(csDSR);
    if (status & SerialDevice::modemRing)
        lines.insert(csRing);
    if (status & SerialDevice::modemRlsd)
        lines.insert(csRLSD);
    return lines;
}

void TCustomComPort::AbortPendingIO()
{
    m_device->abortPendingIO();
}

// ---- raisers ---------------------------------------------------------------------

namespace {

template <typename Handler, typename... Args>
void raise(const Handler &handler, Args &&...args)
{
    if (handler)
        handler(std::forward<Args>(args)...);
}

} // namespace

void TCustomComPort::DoRxChar(int Count) { raise(OnRxChar, *this, Count); }
void TCustomComPort::DoTxEmpty() { raise(OnTxEmpty, *this); }
void TCustomComPort::DoBreak() { raise(OnBreak, *this); }
void TCustomComPort::DoRing() { raise(OnRing, *this); }
void TCustomComPort::DoCTSChange(bool OnOff) { raise(OnCTSChange, *this, OnOff); }
void TCustomComPort::DoDSRChange(bool OnOff) { raise(OnDSRChange, *this, OnOff); }
void TCustomComPort::DoRLSDChange(bool OnOff) { raise(OnRLSDChange, *this, OnOff); }
void TCustomComPort::DoRxFlag() { raise(OnRxFlag, *this); }
void TCustomComPort::DoError(TComErrors Errors) { raise(OnError, *this, Errors); }
void TCustomComPort::DoRx80Full() { raise(OnRx80Full, *this); }
void TCustomComPort::DoAfterOpen() { raise(OnAfterOpen, *this); }
void TCustomComPort::DoAfterClose() { raise(OnAfterClose, *this); }
void TCustomComPort::DoBeforeOpen() { raise(OnBeforeOpen, *this); }
void TCustomComPort::DoBeforeClose() { raise(OnBeforeClose, *this); }
