#pragma once

#include "app/PictureNamer.h"

#include <QDate>
#include <QFileInfo>

// The series picture numbered `number` that the window wrote into folder at some time
// since the day `since`: the window names each picture with the day it is written, so a
// run across midnight finds it under the next day. The name under `since` when there is
// none yet.
inline QString writtenSeriesPicture(const QString &folder, int number, const QDate &since)
{
    for (QDate day = since; day <= QDate::currentDate(); day = day.addDays(1)) {
        const QString name = PictureNamer::seriesName(folder, number, day);
        if (QFileInfo::exists(name))
            return name;
    }
    return PictureNamer::seriesName(folder, number, since);
}
