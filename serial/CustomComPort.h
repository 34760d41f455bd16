#pragma once

#include "serial/ComBuffer.h"
#include "serial/ComFlowControl.h"
#include "serial/ComParity.h"
#include "serial/ComSettings.h"
#include "serial/ComTimeouts.h"
#include "serial/CommTimeouts.h"
#include "serial/DCB.h"
#include "serial/NetworkSerialDevice.h"
#include "serial/PosixSerialDevice.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class TCustomComPort;
class TComThread;

using TComNotifyEvent = std::function<void(TCustomComPort &Sender)>;
using TRxCharEvent = std::function<void(TCustomComPort &Sender, int Count)>;
using TRxBufEvent = std::function<void(TCustomComPort &Sender, const char *Buffer, int Count)>;
using TComSignalEvent = std::function<void(TCustomComPort &Sender, bool OnOff)>;
using TComErrorEvent = std::function<void(TCustomComPort &Sender, TComErrors Errors)>;

// One serial line: its settings, opening and closing, reading, and the event thread
// that reports received characters. Settings reach an open device at once (unless an
// update is pending); a closed port only stores them for the next OpenPort.
//
// Everything except the reads belongs to the GUI thread. Every failure is EComPort.
class TCustomComPort : public QObject
{
    Q_OBJECT

public:
    explicit TCustomComPort(QObject *owner = nullptr);
    ~TCustomComPort() override;

    // Settings.
    bool Connected() const { return m_connected; }
    void setConnected(bool value);
    TBaudRate BaudRate() const { return m_baudRate; }
    void setBaudRate(TBaudRate value);
    int CustomBaudRate() const { return m_customBaudRate; }
    void setCustomBaudRate(int value);
    QString Port() const { return m_port; }
    void setPort(const QString &value);       // an open port closes and reopens
    TStopBits StopBits() const { return m_stopBits; }
    void setStopBits(TStopBits value);
    TDataBits DataBits() const { return m_dataBits; }
    void setDataBits(TDataBits value);
    bool DiscardNull() const { return m_discardNull; }
    void setDiscardNull(bool value);
    char EventChar() const { return m_eventChar; }
    void setEventChar(char value);
    TComEvents Events() const { return m_events; }
    void setEvents(TComEvents value);         // takes effect at the next OpenPort
    TSyncMethod SyncMethod() const { return m_syncMethod; }
    void setSyncMethod(TSyncMethod value);    // code 14 while connected

    TComParity &Parity() { return m_parity; }
    const TComParity &Parity() const { return m_parity; }
    TComFlowControl &FlowControl() { return m_flowControl; }
    const TComFlowControl &FlowControl() const { return m_flowControl; }
    TComTimeouts &Timeouts() { return m_timeouts; }
    const TComTimeouts &Timeouts() const { return m_timeouts; }
    TComBuffer &Buffer() { return m_buffer; }
    const TComBuffer &Buffer() const { return m_buffer; }

    // Holds settings back from an open device until the matching End; the last End
    // applies all of them together.
    void BeginSettingsUpdate();
    void EndSettingsUpdate();

    // Each does nothing unless the port is open and no update is pending.
    virtual void ApplyLineSettings();
    virtual void ApplyTimeoutSettings();
    virtual void ApplyBufferSizes();
    virtual void ApplyAllSettings();

    // The records the settings translate into.
    TDCB LineSettingsRecord() const;
    TCommTimeouts TimeoutsRecord() const;

    // Opening, closing, reading.
    void OpenPort();
    void ClosePort();
    int PendingInputCount();
    int ReadBytes(char *Data, int Count);
    int ReadText(std::string &Text, int Count);   // Text is resized to the bytes read
    TComErrors ReadLineErrors();
    TComSignals ReadModemSignals();
    void AbortPendingIO();

    // Runs on the GUI thread when the event thread has ended because the device is gone
    // (unplugged, or the other side hung up): emits deviceVanished once for this
    // opening, unless the port was closed, or closed and opened again, meanwhile.
    void checkVanished();

    // The local device, for what the driver reports back.
    const PosixSerialDevice &Device() const { return m_tty; }
    // The line of the last opening: the local device, or the network port when Port is
    // an rfc2217:// or socket:// address.
    const SerialDevice &Line() const { return *m_device; }
    // The event thread of this opening; none while closed or with Events empty.
    const TComThread *EventThread() const { return m_thread.get(); }

    // Handler slots; an empty slot is skipped.
    TRxCharEvent OnRxChar;
    TRxBufEvent OnRxBuf;
    TComNotifyEvent OnTxEmpty;
    TComNotifyEvent OnBreak;
    TComNotifyEvent OnRing;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TComNotifyEvent OnRxFlag;
    TComErrorEvent OnError;
    TComNotifyEvent OnRx80Full;
    TComNotifyEvent OnAfterOpen;
    TComNotifyEvent OnAfterClose;
    TComNotifyEvent OnBeforeOpen;
    TComNotifyEvent OnBeforeClose;

signals:
    // The device of the open port is gone; systemCode is the error a read on it gives.
    // The port stays open until closed.
    void deviceVanished(int systemCode);

protected:
    virtual void OpenDeviceHandle();
    virtual void CloseDeviceHandle();

    // One raiser per handler slot: calls the handler if one is assigned.
    virtual void DoRxChar(int Count);
    virtual void DoTxEmpty();
    virtual void DoBreak();
    virtual void DoRing();
    virtual void DoCTSChange(bool OnOff);
    virtual void DoDSRChange(bool OnOff);
    virtual void DoRLSDChange(bool OnOff);
    virtual void DoRxFlag();
    virtual void DoError(TComErrors Errors);
    virtual void DoRx80Full();
    virtual void DoAfterOpen();
    virtual void DoAfterClose();
    virtual void DoBeforeOpen();
    virtual void DoBeforeClose();

private:
    friend class TComThread;

    template <typename T>
    void changeLineSetting(T &field, const T &value);
    bool canApply() const;
    void configureAndStart();
    void startEventThread();
    void reportModemLines();

    bool m_connected = false;
    TBaudRate m_baudRate = br9600;
    int m_customBaudRate = 9600;
    QString m_port = QStringLiteral("COM1");
    TStopBits m_stopBits = sbOneStopBit;
    TDataBits m_dataBits = dbEight;
    bool m_discardNull = false;
    char m_eventChar = 0;
    TComEvents m_events = AllComEvents;
    TSyncMethod m_syncMethod = smThreadSync;
    int m_updateCount = 0;

    // Created in this order, destroyed with the port.
    TComParity m_parity{*this};
    TComFlowControl m_flowControl{*this};
    TComTimeouts m_timeouts{*this};
    TComBuffer m_buffer{*this};

    PosixSerialDevice m_tty;
    NetworkSerialDevice m_network;
    SerialDevice *m_device = &m_tty;
    std::unique_ptr<TComThread> m_thread;   // only while open with Events not empty
};
