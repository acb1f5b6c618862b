#include "ui/image_list.h"

#include "ui/picture.h"
#include "ui/qr_code.h"

// Resources compiled into a static library must be registered by name.
static void registerPictures() {
    Q_INIT_RESOURCE(dravik);
}

namespace dravik::ui {

namespace {

struct Entry {
    int index;
    const char16_t* name;
    const char* file;
};

constexpr Entry kEntries[] = {
    {kImageUrl, u"url", nullptr}, // drawn: the QR code of the download page
    {kImageCount, u"Dravik_count", ":/images/count.svg"},
    {kImageSet, u"Dravik_set", ":/images/set.svg"},
    {kImageHelp, u"Dravik_help", ":/images/help.svg"},
    {kImageSave, u"save1", ":/images/save.svg"},
    {kImageDelete, u"delete", ":/images/delete.svg"},
    {kImageAdd, u"add", ":/images/add.svg"},
    {kImageRight, u"Dravik_right", ":/images/right.svg"},
    {kImageBack, u"复件 Dravik_right", ":/images/back.svg"},
    {kImageTrend, u"Dravik_trend", ":/images/trend.svg"},
};

QString& qrCodeText() {
    static QString text;
    return text;
}

const Entry* find(int index) {
    for (const Entry& entry : kEntries)
        if (entry.index == index)
            return &entry;
    return nullptr;
}

} // namespace

void ensurePictures(const QString& qrCodeText) {
    static const bool registered = (registerPictures(), true);
    Q_UNUSED(registered);
    ui::qrCodeText() = qrCodeText;
}

QString imageName(int index) {
    const Entry* entry = find(index);
    return entry ? QString::fromUtf16(entry->name) : QString();
}

QIcon imageIcon(int index) {
    const Entry* entry = find(index);
    if (!entry)
        return QIcon();
    if (!entry->file)
        return qrCodeIcon(qrCodeText().toUtf8());
    return pictureIcon(QString::fromLatin1(entry->file));
}

} // namespace dravik::ui
