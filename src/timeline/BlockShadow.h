#pragma once

class QGraphicsEffect;
class QObject;

// The soft shadow under selected blocks and the playback cursor.
class BlockShadow
{
public:
    static QGraphicsEffect *create(QObject *parent);
};
