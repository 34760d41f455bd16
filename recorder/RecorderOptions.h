#pragma once

#include "serial/ComSettings.h"

#include <QString>
#include <QStringList>

class QCommandLineParser;
class TCustomComPort;

// What ondrix-record was asked to do; the defaults are the window's.
struct RecorderOptions
{
    QString port;
    QString pattern; // a file name, possibly with strftime fields
    TBaudRate baudRate = br9600;
    int customBaudRate = 0; // with brCustom
    TDataBits dataBits = dbEight;
    TParityBits parity = prNone;
    TStopBits stopBits = sbOneStopBit;
    TFlowControl flow = fcHardware;
    int multiplier = 1;

    // Reads arguments, the program's name first, with parser, which then answers --help
    // and --version (QCommandLineParser::process); nothing past those is looked at. What
    // is wrong with them, for a one-line refusal, or an empty text.
    QString read(QCommandLineParser &parser, const QStringList &arguments);

    // The line as the window opens it, with these settings over it.
    void applyTo(TCustomComPort &target) const;

    // "9600,8N1": the rate, data bits, parity letter (N, O, E, M, S) and stop bits (1,
    // 1.5, 2). False, with settings as they were, for anything else.
    bool setLine(const QString &text);
    // "rtscts", "xonxoff" or "none".
    bool setFlow(const QString &text);
    // A whole number within the window's range, 1 to 100000.
    bool setMultiplier(const QString &text);
};
