#pragma once

#include <functional>
#include <string>

class ReadingDecoder;
class ReadingRecorder;
class TCustomComPort;

// What the port receives goes to the decoder, and through it to the recorder, with the
// time it arrived: the one way in for readings, in the window and in the recorder alike.
// Takes the port's OnRxChar while it lives.
class PortReception
{
public:
    PortReception(TCustomComPort &port, ReadingDecoder &decoder, ReadingRecorder &recorder);
    // A delivery still under way after this must not reach the decoder and the recorder.
    ~PortReception();
    PortReception(const PortReception &) = delete;
    PortReception &operator=(const PortReception &) = delete;

    // Runs first in every delivery, before its time is taken: where the recorder moves
    // on to the next file, so that a delivery never straddles two.
    void setBeforeDelivery(std::function<void()> hook) { m_beforeDelivery = std::move(hook); }

private:
    void receive(int count);

    TCustomComPort &m_port;
    ReadingDecoder &m_decoder;
    ReadingRecorder &m_recorder;
    std::function<void()> m_beforeDelivery;
    std::string m_received; // reused by every delivery, so decoding allocates nothing
};
