#include "app/PortReception.h"

#include "app/ReadingDecoder.h"
#include "app/ReadingRecorder.h"
#include "serial/CustomComPort.h"

PortReception::PortReception(TCustomComPort &port, ReadingDecoder &decoder, ReadingRecorder &recorder)
    : m_port(port), m_decoder(decoder), m_recorder(recorder)
{
    m_decoder.setSink(&m_recorder);
    m_port.OnRxChar = [this](TCustomComPort &, int count) { receive(count); };
}

PortReception::~PortReception()
{
    m_port.OnRxChar = nullptr;
    m_decoder.setSink(nullptr);
}

void PortReception::receive(int count)
{
    if (m_beforeDelivery)
        m_beforeDelivery();
    m_port.ReadText(m_received, count);
    m_recorder.beginDelivery();
    m_decoder.decode(m_received);
}
