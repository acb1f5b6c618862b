#pragma once

#include <QIcon>
#include <QString>

namespace dravik::ui {

// The window's shared pictures, referred to by their index in the image list. The indices in use:
// 2 url, 3 Dravik_count, 4 Dravik_set, 6 Dravik_help, 9 save1, 13 delete, 14 add, 15 Dravik_right,
// 16 复件 Dravik_right, and our own 18 Dravik_trend.
enum ImageIndex {
    kImageUrl = 2,
    kImageCount = 3,
    kImageSet = 4,
    kImageHelp = 6,
    kImageSave = 9,
    kImageDelete = 13,
    kImageAdd = 14,
    kImageRight = 15,
    kImageBack = 16,
    kImageTrend = 18,
};

// Makes the pictures available and sets the text that entry 2 encodes (the download page); the window
// calls it before it draws anything.
void ensurePictures(const QString& qrCodeText);

// The entry's name in the list, empty for an index that holds no picture.
QString imageName(int index);
// The entry's picture; a null icon for an index that holds none. Entry 2 (`url`) is the QR code of the
// text given to ensurePictures, drawn at whatever size it is shown; the others are our drawings
// (ui/picture.h).
QIcon imageIcon(int index);

// The logo (header), the splash picture and the import and update buttons' pictures, which lie outside
// the list.
inline const QString kLogoResource = QStringLiteral(":/images/logo.svg");
inline const QString kSplashResource = QStringLiteral(":/images/splash.svg");
inline const QString kImportResource = QStringLiteral(":/images/import.svg");
inline const QString kUpdateResource = QStringLiteral(":/images/update.svg");

} // namespace dravik::ui
