// The painting functions of every picture, grouped by family. Each paints one picture in the
// 16 by 16 unit square; the table in PictureTable.cpp fixes their order.
#pragma once

class QPainter;

namespace pictures {

// Lamps (LampPictures.cpp)
void LampGrey(QPainter&);
void LampRed(QPainter&);
void LampGreen(QPainter&);
void LampYellow(QPainter&);
void LampGreySmall(QPainter&);
void LampRedSmall(QPainter&);
void LampGreenSmall(QPainter&);
void LampYellowSmall(QPainter&);
void LampGreyBezel(QPainter&);
void LampRedBezel(QPainter&);
void LampGreenBezel(QPainter&);
void LampYellowBezel(QPainter&);
void LampGreyGlowing(QPainter&);
void LampRedGlowing(QPainter&);
void LampGreenGlowing(QPainter&);
void LampYellowGlowing(QPainter&);

}  // namespace pictures
