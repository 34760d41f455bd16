#pragma once

class TCustomComPort;

// What the port's settings groups share: the back-reference to the port that owns them,
// their plain values, and the setter rule (compare, store, then re-apply the group to an
// open port through the port's apply operation for it).
template <typename Values>
class ComSettingsGroup
{
public:
    ComSettingsGroup(const ComSettingsGroup &) = delete;
    ComSettingsGroup &operator=(const ComSettingsGroup &) = delete;

    TCustomComPort &ComPort() const { return m_port; }

    // Copies every field of another group of the same kind, then applies once.
    void Assign(const ComSettingsGroup &source)
    {
        m_values = source.m_values;
        apply();
    }

protected:
    explicit ComSettingsGroup(TCustomComPort &port) : m_port(port) {}
    virtual ~ComSettingsGroup() = default;

    virtual void apply() = 0;

    template <typename T>
    void change(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        apply();
    }

    Values m_values;

private:
    TCustomComPort &m_port;
};
