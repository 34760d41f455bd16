#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <random>

// Builds the names of chart pictures: "<folder>/one_<R>_<date>.bmp" for a single picture,
// "<folder>/<P>_<date>.bmp" for a series picture.
class PictureNamer
{
public:
    // R is drawn from a generator seeded once from the clock.
    PictureNamer();
    explicit PictureNamer(std::uint32_t seed);

    // The date as the user's short date format writes it; "/" cannot stand in a file
    // name here and becomes "-". The C locale gives yyyy-MM-dd.
    static QString dateText(const QDate &date, const QLocale &locale = QLocale::system());

    static QString seriesName(const QString &folder, int picturesLeft, const QDate &date);

    // True when a series of count pictures would replace an entry of the folder: any of
    // the names count-1 .. 0 of the date is taken.
    static bool seriesReplaces(const QString &folder, int count, const QDate &date);

    // A single picture never replaces an earlier one: R is drawn again while the name is
    // taken. Raises EFCreateError when every R of the day is taken.
    QString singleName(const QString &folder, const QDate &date);

    static constexpr int randomRange = 32000; // R is 0 .. 31999

private:
    static QString singleName(const QString &folder, int r, const QDate &date);
    static QString seriesTail(const QDate &date); // "_<date>.bmp"
    // The P of a series name "<P>_<date>.bmp" with this tail, or -1.
    static int seriesNumber(const QString &name, const QString &tail);

    std::mt19937 m_random;
};
