#pragma once

#include "serial/EnumSet.h"

#include <QString>
#include <cstdint>

// The serial line's settings as enumerations; the ordinal of each value is its position.

enum TBaudRate {
    brCustom, br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200,
    br38400, br56000, br57600, br115200, br128000, br256000
};
inline constexpr int BaudRateCount = br256000 + 1;

enum TStopBits { sbOneStopBit, sbOne5StopBits, sbTwoStopBits };
inline constexpr int StopBitsCount = sbTwoStopBits + 1;

enum TDataBits { dbFive, dbSix, dbSeven, dbEight };
inline constexpr int DataBitsCount = dbEight + 1;

enum TParityBits { prNone, prOdd, prEven, prMark, prSpace };
inline constexpr int ParityBitsCount = prSpace + 1;

enum TDTRFlowControl { dtrDisable, dtrEnable, dtrHandshake };
enum TRTSFlowControl { rtsDisable, rtsEnable, rtsHandshake, rtsToggle };

// Presets over the flow-control fields; fcCustom is any other combination.
enum TFlowControl { fcHardware, fcSoftware, fcNone, fcCustom };
inline constexpr int FlowControlCount = fcCustom + 1;

enum TComEvent {
    evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full
};
using TComEvents = EnumSet<TComEvent, std::uint16_t>;
inline constexpr TComEvents AllComEvents = TComEvents::fromBits(0x03FF);

// How events reach their handlers: a blocking hand-over to the GUI thread, a queued one
// that releases the event thread first, or on the event thread itself.
enum TSyncMethod { smThreadSync, smWindowSync, smNone };

enum TComError { ceFrame, ceRxParity, ceOverrun, ceBreak, ceIO, ceMode, ceRxOver, ceTxFull };
using TComErrors = EnumSet<TComError, std::uint16_t>;

enum TComSignal { csCTS, csDSR, csRing, csRLSD };
using TComSignals = EnumSet<TComSignal, std::uint8_t>;

// The rate in bits per second that a TBaudRate stands for; 0 for brCustom.
int BaudRateValue(TBaudRate rate);

QString BaudRateToText(TBaudRate rate);
QString StopBitsToText(TStopBits bits);
QString DataBitsToText(TDataBits bits);
QString ParityToText(TParityBits bits);
QString FlowControlToText(TFlowControl flow);

// Case-insensitive (ASCII letters) lookups of the text forms above; text that matches
// none gives br9600, sbOneStopBit, dbEight, prNone and fcCustom respectively.
TBaudRate TextToBaudRate(const QString &text);
TStopBits TextToStopBits(const QString &text);
TDataBits TextToDataBits(const QString &text);
TParityBits TextToParity(const QString &text);
TFlowControl TextToFlowControl(const QString &text);

// The driver's event-mask bits for a set of events, and back; MaskToEvents ignores
// every bit that names no event.
std::uint32_t EventsToMask(TComEvents events);
TComEvents MaskToEvents(std::uint32_t mask);
