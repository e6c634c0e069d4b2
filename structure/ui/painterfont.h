#pragma once

class QPainter;

// The painter's font with the given point size, bold or normal weight,
// italic or upright.
void setMyFont(int size, bool bold, bool italic, QPainter* painter);
