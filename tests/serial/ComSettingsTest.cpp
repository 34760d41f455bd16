// Settings of the serial port that need no device: text forms, event masks, presets,
// the line-settings record and the queue sizes.

#include "serial/ComPort.h"
#include "serial/EComPort.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

TEST(ComSettingsText, EveryTextFormReadsBackInAnyLetterCase)
{
    for (int i = 0; i < BaudRateCount; ++i)
        EXPECT_EQ(TextToBaudRate(BaudRateToText(TBaudRate(i)).toLower()), TBaudRate(i));
    for (int i = 0; i < StopBitsCount; ++i)
        EXPECT_EQ(TextToStopBits(StopBitsToText(TStopBits(i))), TStopBits(i));
    for (int i = 0; i < DataBitsCount; ++i)
        EXPECT_EQ(TextToDataBits(DataBitsToText(TDataBits(i))), TDataBits(i));
    for (int i = 0; i < ParityBitsCount; ++i)
        EXPECT_EQ(TextToParity(ParityToText(TParityBits(i)).toUpper()), TParityBits(i));
    for (int i = 0; i < FlowControlCount; ++i)
        EXPECT_EQ(TextToFlowControl(FlowControlToText(TFlowControl(i)).toLower()), TFlowControl(i));
}

TEST(ComSettingsText, FormsAndFallbacks)
{
    EXPECT_EQ(BaudRateToText(brCustom), "Custom");
    EXPECT_EQ(BaudRateToText(br256000), "256000");
    EXPECT_EQ(StopBitsToText(sbOne5StopBits), "1.5");
    EXPECT_EQ(ParityToText(prSpace), "Space");
    EXPECT_EQ(FlowControlToText(fcSoftware), "Software");

    EXPECT_EQ(TextToBaudRate("custom"), brCustom);
    EXPECT_EQ(TextToBaudRate("9600"), br9600);
    EXPECT_EQ(TextToBaudRate("9601"), br9600) << "no match gives the default";
    EXPECT_EQ(TextToBaudRate(" 9600"), br9600);
    EXPECT_EQ(TextToBaudRate("110 "), br9600) << "no trimming";
    EXPECT_EQ(TextToStopBits("1.5"), sbOne5StopBits);
    EXPECT_EQ(TextToStopBits("3"), sbOneStopBit);
    EXPECT_EQ(TextToDataBits(""), dbEight);
    EXPECT_EQ(TextToParity("ÖDD"), prNone) << "only ASCII letters change case";
    EXPECT_EQ(TextToFlowControl("none"), fcNone);
    EXPECT_EQ(TextToFlowControl(""), fcCustom);
}

TEST(ComSettingsEvents, MaskBitsPerEventAndBack)
{
    const struct
    {
        TComEvent event;
        std::uint32_t bit;
    } rows[] = {{evRxChar, 0x0001}, {evTxEmpty, 0x0004}, {evRxFlag, 0x0002}, {evRing, 0x0100},
                {evBreak, 0x0040},  {evCTS, 0x0008},     {evDSR, 0x0010},    {evError, 0x0080},
                {evRLSD, 0x0020},   {evRx80Full, 0x0400}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.event);
        EXPECT_EQ(EventsToMask({row.event}), row.bit);
        EXPECT_EQ(MaskToEvents(row.bit), TComEvents({row.event}));
    }
    EXPECT_EQ(EventsToMask(AllComEvents), 0x05FFu);
    EXPECT_EQ(MaskToEvents(0x05FF), AllComEvents);
    EXPECT_EQ(EventsToMask({}), 0u);
    EXPECT_TRUE(MaskToEvents(0x0200 | 0xF800).empty()) << "bits that name no event are ignored";
    EXPECT_EQ(MaskToEvents(0x0201), TComEvents({evRxChar}));
}

TEST(ComSettingsFlow, PresetReadFromTheFourFields)
{
    TComPort port;
    TComFlowControl &flow = port.FlowControl();
    EXPECT_EQ(flow.FlowControl(), fcNone) << "defaults";
    flow.setControlRTS(rtsEnable);
    EXPECT_EQ(flow.FlowControl(), fcCustom) << "RTS enabled and nothing else";
    flow.setControlRTS(rtsHandshake);
    flow.setOutCTSFlow(true);
    EXPECT_EQ(flow.FlowControl(), fcHardware);
    flow.setXonXoffIn(true);
    EXPECT_EQ(flow.FlowControl(), fcCustom) << "hardware plus XON/XOFF";
    flow.setControlRTS(rtsDisable);
    flow.setOutCTSFlow(false);
    flow.setXonXoffOut(true);
    EXPECT_EQ(flow.FlowControl(), fcSoftware);
    flow.setControlDTR(dtrHandshake);
    flow.setOutDSRFlow(true);
    EXPECT_EQ(flow.FlowControl(), fcSoftware) << "DTR and DSR take no part";
}

TEST(ComSettingsFlow, WritingAPresetLeavesTheOtherFieldsAlone)
{
    TComPort port;
    TComFlowControl &flow = port.FlowControl();
    flow.setControlDTR(dtrHandshake);
    flow.setOutDSRFlow(true);
    flow.setDSRSensitivity(true);
    flow.setXonChar('A');

    flow.setFlowControl(fcHardware);
    EXPECT_EQ(flow.ControlRTS(), rtsHandshake);
    EXPECT_TRUE(flow.OutCTSFlow());
    flow.setFlowControl(fcSoftware);
    EXPECT_EQ(flow.ControlRTS(), rtsDisable);
    EXPECT_FALSE(flow.OutCTSFlow());
    EXPECT_TRUE(flow.XonXoffIn() && flow.XonXoffOut());
    flow.setControlRTS(rtsToggle);
    flow.setFlowControl(fcCustom);
    EXPECT_EQ(flow.ControlRTS(), rtsToggle) << "fcCustom changes nothing";
    flow.setFlowControl(fcNone);
    EXPECT_EQ(flow.FlowControl(), fcNone);

    EXPECT_EQ(flow.ControlDTR(), dtrHandshake);
    EXPECT_TRUE(flow.OutDSRFlow());
    EXPECT_TRUE(flow.DSRSensitivity());
    EXPECT_EQ(flow.XonChar(), 'A');
}

// The main window's port: RTS/CTS handshake, DTR off, 10 ms read interval.
void configureAsComPort1(TCustomComPort &port)
{
    port.FlowControl().setOutCTSFlow(true);
    port.FlowControl().setControlRTS(rtsHandshake);
    port.Timeouts().setReadInterval(10);
    port.Timeouts().setWriteTotalMultiplier(1);
    port.Timeouts().setWriteTotalConstant(1);
}

TEST(ComSettingsRecord, ComPort1GivesTheDocumentedRecord)
{
    TComPort port;
    configureAsComPort1(port);
    const TDCB dcb = port.LineSettingsRecord();
    EXPECT_EQ(dcb.DCBlength, sizeof(TDCB));
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.Flags, 0x2005u);
    EXPECT_EQ(dcb.XonLim, 256);
    EXPECT_EQ(dcb.XoffLim, 256);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, 0);
    EXPECT_EQ(dcb.StopBits, 0);
    EXPECT_EQ(dcb.XonChar, 17);
    EXPECT_EQ(dcb.XoffChar, 19);
    EXPECT_EQ(dcb.EvtChar, 0);
    EXPECT_EQ(dcb.ErrorChar, 0);
    EXPECT_EQ(dcb.EofChar, 0);

    const TCommTimeouts timeouts = port.TimeoutsRecord();
    EXPECT_EQ(timeouts.ReadIntervalTimeout, 10u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(timeouts.ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutMultiplier, 1u);
    EXPECT_EQ(timeouts.WriteTotalTimeoutConstant, 1u);
    EXPECT_EQ(TComPort().TimeoutsRecord().ReadIntervalTimeout, 0xFFFFFFFFu) << "-1 goes over as all ones";
}

TEST(ComSettingsRecord, EachOptionSetsItsFlag)
{
    const struct
    {
        const char *name;
        std::function<void(TCustomComPort &)> set;
        std::uint32_t flags;
    } rows[] = {
        {"defaults", [](TCustomComPort &) {}, 0x0001},
        {"discard NUL", [](TCustomComPort &p) { p.setDiscardNull(true); }, 0x0801},
        {"CTS output flow", [](TCustomComPort &p) { p.FlowControl().setOutCTSFlow(true); }, 0x0005},
        {"DSR output flow", [](TCustomComPort &p) { p.FlowControl().setOutDSRFlow(true); }, 0x0009},
        {"DTR enable", [](TCustomComPort &p) { p.FlowControl().setControlDTR(dtrEnable); }, 0x0011},
        {"DTR handshake", [](TCustomComPort &p) { p.FlowControl().setControlDTR(dtrHandshake); }, 0x0021},
        {"RTS enable", [](TCustomComPort &p) { p.FlowControl().setControlRTS(rtsEnable); }, 0x1001},
        {"RTS toggle", [](TCustomComPort &p) { p.FlowControl().setControlRTS(rtsToggle); }, 0x3001},
        {"XON/XOFF out", [](TCustomComPort &p) { p.FlowControl().setXonXoffOut(true); }, 0x0101},
        {"XON/XOFF in", [](TCustomComPort &p) { p.FlowControl().setXonXoffIn(true); }, 0x0201},
        {"DSR sensitivity", [](TCustomComPort &p) { p.FlowControl().setDSRSensitivity(true); }, 0x0041},
        {"TX continue on XOFF", [](TCustomComPort &p) { p.FlowControl().setTxContinueOnXoff(true); }, 0x0081},
        {"parity check", [](TCustomComPort &p) { p.Parity().setCheck(true); }, 0x0003},
        {"replace without check", [](TCustomComPort &p) { p.Parity().setReplace(true); }, 0x0001},
        {"check and replace",
         [](TCustomComPort &p) {
             p.Parity().setCheck(true);
             p.Parity().setReplace(true);
         },
         0x0403},
        {"preset hardware", [](TCustomComPort &p) { p.FlowControl().setFlowControl(fcHardware); }, 0x2005},
        {"preset software", [](TCustomComPort &p) { p.FlowControl().setFlowControl(fcSoftware); }, 0x0301},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        TComPort port;
        row.set(port);
        EXPECT_EQ(port.LineSettingsRecord().Flags, row.flags);
    }
}

TEST(ComSettingsRecord, LineFormatFieldsAndCharacters)
{
    TComPort port;
    port.setBaudRate(brCustom);
    EXPECT_EQ(port.LineSettingsRecord().BaudRate, 9600u) << "the custom rate starts at 9600";
    port.setCustomBaudRate(250000);
    port.setDataBits(dbSeven);
    port.setStopBits(sbTwoStopBits);
    port.Parity().setBits(prMark);
    port.Parity().setReplaceChar('?');
    port.setEventChar('\n');
    port.FlowControl().setXoffChar('S');
    TDCB dcb = port.LineSettingsRecord();
    EXPECT_EQ(dcb.BaudRate, 250000u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.StopBits, 2);
    EXPECT_EQ(dcb.Parity, 3);
    EXPECT_EQ(dcb.EvtChar, '\n');
    EXPECT_EQ(dcb.XoffChar, 'S');
    EXPECT_EQ(dcb.ErrorChar, 0) << "the replacement needs Check and Replace";
    port.Parity().setCheck(true);
    port.Parity().setReplace(true);
    EXPECT_EQ(port.LineSettingsRecord().ErrorChar, '?');
    port.setBaudRate(br115200);
    EXPECT_EQ(port.LineSettingsRecord().BaudRate, 115200u);
}

TEST(ComSettingsBuffer, OddSizesStoredOneLower)
{
    const struct
    {
        int set;
        int stored;
        int limit;
    } rows[] = {{1025, 1024, 256}, {1023, 1022, 255}, {1, 0, 0}, {2048, 2048, 512}, {-3, -3, 0}};
    for (const auto &row : rows) {
        SCOPED_TRACE(row.set);
        TComPort port;
        port.Buffer().setInputSize(row.set);
        port.Buffer().setOutputSize(row.set);
        EXPECT_EQ(port.Buffer().InputSize(), row.stored);
        EXPECT_EQ(port.Buffer().OutputSize(), row.stored);
        EXPECT_EQ(port.LineSettingsRecord().XonLim, row.limit);
        EXPECT_EQ(port.LineSettingsRecord().XoffLim, row.limit);
    }
}

TEST(ComSettingsGroups, AssignCopiesEveryField)
{
    TComPort source;
    source.Parity().setBits(prEven);
    source.Parity().setCheck(true);
    source.FlowControl().setFlowControl(fcSoftware);
    source.FlowControl().setXonChar('Q');
    source.Timeouts().setReadTotalConstant(77);
    source.Buffer().setInputSize(4096);

    TComPort target;
    target.Parity().Assign(source.Parity());
    target.FlowControl().Assign(source.FlowControl());
    target.Timeouts().Assign(source.Timeouts());
    target.Buffer().Assign(source.Buffer());
    EXPECT_EQ(target.LineSettingsRecord().Flags, source.LineSettingsRecord().Flags);
    EXPECT_EQ(target.Parity().Bits(), prEven);
    EXPECT_EQ(target.FlowControl().XonChar(), 'Q');
    EXPECT_EQ(target.Timeouts().ReadTotalConstant(), 77);
    EXPECT_EQ(target.Buffer().InputSize(), 4096);
    EXPECT_EQ(&target.Parity().ComPort(), &target) << "the group keeps its own port";
}

TEST(ComSettingsErrors, MessagesWithAndWithoutSystemCode)
{
    const EComPort open(EComPort::OpenFailed, 2);
    EXPECT_EQ(open.message(), "Unable to open com port (win error code: 2)");
    EXPECT_EQ(open.code(), 1);
    EXPECT_EQ(open.systemCode(), 2u);

    const EComPort connected(EComPort::SetWhileConnected);
    EXPECT_EQ(connected.message(), "Cannot set property while connected");
    EXPECT_EQ(connected.systemCode(), 0xFFFFFFFFu);

    EXPECT_EQ(EComPort::messageText(3), "ReadFile function failed");
    EXPECT_EQ(EComPort::messageText(8), "SetCommTimeouts failed");
    EXPECT_EQ(EComPort::messageText(18), "Link (un)registration failed");
    EXPECT_EQ(EComPort::messageText(23), "Registry error");
    EXPECT_EQ(EComPort(EComPort::ClearErrorFailed, 5).message(), "ClearCommError function failed (win error code: 5)");
}

} // namespace
