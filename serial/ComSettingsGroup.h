#pragma once

class TCustomComPort;

// What the port's settings groups share: the back-reference to the port that owns them
// and the setter rule (compare, store, then re-apply the group to an open port).
class ComSettingsGroup
{
public:
    ComSettingsGroup(const ComSettingsGroup &) = delete;
    ComSettingsGroup &operator=(const ComSettingsGroup &) = delete;

    TCustomComPort &ComPort() const { return m_port; }

protected:
    explicit ComSettingsGroup(TCustomComPort &port) : m_port(port) {}
    virtual ~ComSettingsGroup() = default;

    // Hands the group's settings to the port's apply operation for this group.
    virtual void apply() = 0;

    template <typename T>
    void change(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        apply();
    }

private:
    TCustomComPort &m_port;
};
