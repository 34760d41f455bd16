#include "app/BoardLine.h"

#include "serial/CustomComPort.h"

void BoardLine::applyDefaults(TCustomComPort &port)
{
    port.setBaudRate(br9600);
    port.setDataBits(dbEight);
    port.setStopBits(sbOneStopBit);
    port.Parity().setBits(prNone);
    port.setEvents({evRxChar, evTxEmpty, evRxFlag, evRing, evBreak, evCTS, evDSR, evError, evRLSD, evRx80Full});
    TComFlowControl &flow = port.FlowControl();
    flow.setOutCTSFlow(true);
    flow.setOutDSRFlow(false);
    flow.setControlDTR(dtrDisable);
    flow.setControlRTS(rtsHandshake);
    flow.setXonXoffOut(false);
    flow.setXonXoffIn(false);
    TComTimeouts &timeouts = port.Timeouts();
    timeouts.setReadInterval(10);
    timeouts.setWriteTotalMultiplier(1);
    timeouts.setWriteTotalConstant(1);
}
