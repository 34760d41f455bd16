#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// A growing array stored in fixed blocks of 1024 entries: appending never copies what
// is stored and never reserves more than one block ahead, so a list of n values costs
// n entries plus less than one block. A series of a whole sweep (100001 points) lives in
// such lists; a plain vector would hold up to twice its size after doubling.
template <typename T>
class ChunkedVector
{
public:
    static constexpr int blockShift = 10;
    static constexpr int blockSize = 1 << blockShift;

    int size() const { return m_size; }
    bool empty() const { return m_size == 0; }

    const T &operator[](int index) const { return m_blocks[index >> blockShift][index & (blockSize - 1)]; }
    T &operator[](int index) { return m_blocks[index >> blockShift][index & (blockSize - 1)]; }
    const T &back() const { return (*this)[m_size - 1]; }

    void push_back(const T &value)
    {
        if ((m_size & (blockSize - 1)) == 0 && (m_size >> blockShift) == int(m_blocks.size()))
            m_blocks.push_back(std::make_unique<T[]>(blockSize));
        ++m_size;
        (*this)[m_size - 1] = value;
    }

    // Moves the entries from index on one place up; costs the distance to the end.
    void insert(int index, const T &value)
    {
        push_back(value);
        for (int i = m_size - 1; i > index; --i)
            (*this)[i] = (*this)[i - 1];
        (*this)[index] = value;
    }

    // Releases every block: an emptied list keeps no storage.
    void clear()
    {
        std::vector<std::unique_ptr<T[]>>().swap(m_blocks);
        m_size = 0;
    }

    // Bytes held for the entries and the block table.
    std::size_t allocatedBytes() const
    {
        return m_blocks.size() * blockSize * sizeof(T) + m_blocks.capacity() * sizeof(std::unique_ptr<T[]>);
    }

private:
    std::vector<std::unique_ptr<T[]>> m_blocks;
    int m_size = 0;
};
