#pragma once

#include <initializer_list>

// A set of enumeration values held as a bit word, member n at bit n: the shape in which
// the serial engine keeps its event, error and modem-signal sets.
template <typename Enum, typename Word>
class EnumSet
{
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<Enum> members)
    {
        for (Enum member : members)
            insert(member);
    }

    static constexpr EnumSet fromBits(Word bits)
    {
        EnumSet set;
        set.m_bits = bits;
        return set;
    }

    constexpr Word bits() const { return m_bits; }
    constexpr bool empty() const { return m_bits == 0; }
    constexpr bool contains(Enum member) const { return (m_bits & bitOf(member)) != 0; }

    constexpr EnumSet &insert(Enum member)
    {
        m_bits = Word(m_bits | bitOf(member));
        return *this;
    }
    constexpr EnumSet &remove(Enum member)
    {
        m_bits = Word(m_bits & ~bitOf(member));
        return *this;
    }

    friend constexpr bool operator==(EnumSet a, EnumSet b) { return a.m_bits == b.m_bits; }

private:
    static constexpr Word bitOf(Enum member) { return Word(Word(1) << static_cast<int>(member)); }

    Word m_bits = 0;
};
