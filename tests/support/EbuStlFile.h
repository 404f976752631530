#pragma once

#include <QByteArray>
#include <QList>

#include <array>

// An EBU-STL file made byte by byte: a general information block and a text block for
// each subtitle. Counts are the blocks added unless a test says otherwise.
class EbuStlFile
{
public:
    struct Block
    {
        int number = 0;
        std::array<int, 4> in = {0, 0, 1, 0}; // hours, minutes, seconds, frames
        std::array<int, 4> out = {0, 0, 2, 0};
        QByteArray text;
        int vertical = 20;
        int justification = 2;
        int comment = 0;
        int extension = 0xFF;
        int cumulative = 0;
    };

    explicit EbuStlFile(QByteArray diskFormat = "STL25.01", QByteArray table = "00", char displayStandard = '1',
                        QByteArray programmeStart = "00000000")
        : m_gsi(1024, ' ')
    {
        put(0, "850");
        put(3, diskFormat);
        m_gsi[11] = displayStandard;
        put(12, table);
        put(14, "09");
        put(224, "240101240101");
        put(236, "00");
        put(248, "001");
        put(251, "4023");
        put(255, "1");
        put(256, programmeStart);
        put(264, programmeStart);
        put(272, "11");
    }

    EbuStlFile &add(const Block &block)
    {
        QByteArray bytes(16, '\0');
        bytes[1] = char(block.number & 0xFF);
        bytes[2] = char(block.number >> 8);
        bytes[3] = char(block.extension);
        bytes[4] = char(block.cumulative);
        for (int i = 0; i < 4; ++i) {
            bytes[5 + i] = char(block.in[i]);
            bytes[9 + i] = char(block.out[i]);
        }
        bytes[13] = char(block.vertical);
        bytes[14] = char(block.justification);
        bytes[15] = char(block.comment);
        bytes += block.text.left(112);
        bytes += QByteArray(112 - std::min<qsizetype>(block.text.size(), 112), '\x8F');
        m_blocks.append(bytes);
        return *this;
    }
    // The counts the general information block gives, whatever was added.
    EbuStlFile &claiming(int blocks)
    {
        m_claimed = blocks;
        return *this;
    }

    QByteArray bytes() const
    {
        QByteArray gsi = m_gsi;
        const qsizetype count = m_claimed >= 0 ? m_claimed : m_blocks.size();
        gsi.replace(238, 10, QByteArray::number(count).rightJustified(5, '0') + QByteArray::number(count).rightJustified(5, '0'));
        return gsi + m_blocks.join();
    }
    QByteArray block(qsizetype i) const { return m_blocks.at(i); }

private:
    void put(qsizetype at, const QByteArray &value) { m_gsi.replace(at, value.size(), value); }

    QByteArray m_gsi;
    QList<QByteArray> m_blocks;
    int m_claimed = -1;
};
