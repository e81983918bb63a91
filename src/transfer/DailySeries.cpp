#include "transfer/DailySeries.h"

#include "core/Cp1254.h"
#include "core/CsvText.h"
#include "core/FileIO.h"
#include "core/Paths.h"
#include "flow/DayRating.h"
#include "store/HqTable.h"

#include <charconv>
#include <cstdio>
#include <map>
#include <pugixml.hpp>
#include <sstream>
#include <stdexcept>

namespace korvel {

namespace fs = std::filesystem;

namespace {

struct QualityName {
    DayQuality quality;
    std::string_view code;
};
constexpr QualityName kQualityNames[] = {
    {DayQuality::Logger, "logger"},
    {DayQuality::StaffGauge, "staff_gauge"},
    {DayQuality::Imported, "imported"},
    {DayQuality::Edited, "edited"},
    {DayQuality::MonthlyTotals, "monthly_totals"},
    {DayQuality::Correlation, "correlation"},
    {DayQuality::NoData, "no_data"},
};

constexpr std::string_view kOutsideRatedRange = "outside";

// The tag as stored, without the spaces and NUL bytes that pad it.
std::string unpadded(std::string_view source) {
    const auto nul = source.find('\0');
    if (nul != std::string_view::npos)
        source = source.substr(0, nul);
    const auto last = source.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(source.substr(0, last + 1));
}

SeriesDay seriesDay(OleDate date, const DayRecord* record, const HqTableSet& tables) {
    SeriesDay day;
    day.date = date;
    if (record == nullptr || isBlankSource(record->source))
        return day;
    day.source = unpadded(record->source);
    day.quality = dayQualityOfSource(record->source);
    const RatedDay rated = rateDay(*record, tables);
    if (rated.discharge)
        day.discharge = static_cast<float>(*rated.discharge);
    if (rated.hqKey)
        day.hqKey = *rated.hqKey;
    day.outsideRatedRange = rated.levelOutOfRange;
    if (!rated.givenDischarge) {
        day.hasLevels = true;
        day.meanLevel = record->meanValue;
        day.maxLevel = record->maxLevel;
        day.maxTime = OleDate(record->maxTime.value() - static_cast<double>(record->maxTime.dayNumber()));
        day.minLevel = record->minLevel;
        day.minTime = OleDate(record->minTime.value() - static_cast<double>(record->minTime.dayNumber()));
    }
    return day;
}

std::string twoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string isoDateTime(OleDate date, OleDate time) {
    return isoDate(date) + "T" + isoTime(time);
}

} // namespace

DayQuality dayQualityOfSource(std::string_view source) {
    if (isBlankSource(source))
        return DayQuality::NoData;
    if (source.size() > 1 && source[1] == 'E')
        return DayQuality::Edited;
    if (source.front() == 'G')
        return DayQuality::MonthlyTotals;
    if (source.front() == 'K')
        return DayQuality::Correlation;
    if (source.find("SUVAK") != std::string_view::npos || source.find("CSV") != std::string_view::npos)
        return DayQuality::Imported;
    if (source.front() == 'L')
        return DayQuality::Logger;
    if (source.front() == 'R')
        return DayQuality::StaffGauge;
    return DayQuality::Imported;
}

std::string_view dayQualityCode(DayQuality quality) {
    for (const auto& name : kQualityNames)
        if (name.quality == quality)
            return name.code;
    return "no_data";
}

std::optional<DayQuality> dayQualityOfCode(std::string_view code) {
    for (const auto& name : kQualityNames)
        if (name.code == code)
            return name.quality;
    return std::nullopt;
}

std::string isoDate(OleDate date) {
    const CivilDate d = date.date();
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

std::string isoTime(OleDate time) {
    const TimeOfDay t = time.time();
    return twoDigits(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

std::string floatText(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

DailySeries collectDailySeries(const fs::path& stationDir, const StationRecord& station, OleDate from,
                               OleDate to) {
    if (!isCalendarDate(from) || !isCalendarDate(to))
        throw std::invalid_argument("not a calendar date");
    from = from.datePart();
    to = to.datePart();
    if (to < from)
        throw std::invalid_argument("the end date lies before the start date");
    DailySeries series;
    series.station = station;
    series.from = from;
    series.to = to;
    const HqTableSet tables = loadHqTableSet(stationDir);
    const std::string number = trimmed(station.stationNumber);
    // The records of each water year, a day taken from the file of its own water year (the
    // 366th record of a short year repeats the next year's first day).
    std::map<int, std::vector<DayRecord>> years;
    for (OleDate date = from; date <= to; date = date.plusDays(1)) {
        const int year = waterYearOfDate(date);
        auto it = years.find(year);
        if (it == years.end()) {
            const fs::path file = resolveCaseInsensitive(stationDir / waterYearFileName(year, number));
            it = years.emplace(year, readWaterYearFile(file)).first;
        }
        const auto n = findDay(it->second, date);
        series.days.push_back(seriesDay(date, n ? &it->second[*n - 1] : nullptr, tables));
    }
    return series;
}

std::string dailySeriesCsv(const DailySeries& series) {
    std::ostringstream out;
    out << "# KORVEL2000 günlük seri, istasyon " << trimmed(series.station.stationNumber)
        << ": tarih ve saat ISO 8601 (yerel saat), ondalık ayırıcı \".\", alan ayırıcı \",\", seviye mm, "
           "debi m3/s, UTF-8\r\n";
    out << kSeriesCsvHeader << "\r\n";
    for (const SeriesDay& day : series.days) {
        out << isoDate(day.date) << ',';
        if (day.hasLevels)
            out << floatText(day.meanLevel) << ',' << day.maxLevel << ',' << isoTime(day.maxTime) << ','
                << day.minLevel << ',' << isoTime(day.minTime) << ',';
        else
            out << ",,,,,";
        if (day.discharge)
            out << floatText(*day.discharge);
        out << ',' << dayQualityCode(day.quality) << ',' << (day.outsideRatedRange ? kOutsideRatedRange : "")
            << ',' << csvField(day.hqKey, ',', true) << ',' << csvField(day.source, ',', true) << "\r\n";
    }
    return out.str();
}

namespace {

constexpr const char* kWaterMlNamespace = "http://www.opengis.net/waterml/2.0";
constexpr const char* kQualifierDefinition = "http://korvel2000/def/source";
constexpr const char* kInterpolationBase = "http://www.opengis.net/def/waterml/2.0/interpolationType/";

struct SeriesKind {
    const char* id;
    const char* property;
    const char* unit;
    const char* interpolation; // WaterML 2.0 interpolation type vocabulary
};

// One observation of the collection: its time series with one point per day.
class ObservationWriter {
public:
    ObservationWriter(pugi::xml_node collection, const DailySeries& series, const SeriesKind& kind,
                      const std::string& generated)
        : kind_(kind) {
        const std::string id = kind.id;
        auto observation =
            collection.append_child("wml2:observationMember").append_child("om:OM_Observation");
        observation.append_attribute("gml:id") = ("obs." + id).c_str();
        auto period = observation.append_child("om:phenomenonTime").append_child("gml:TimePeriod");
        period.append_attribute("gml:id") = ("period." + id).c_str();
        period.append_child("gml:beginPosition").text() = isoDateTime(series.from, OleDate()).c_str();
        period.append_child("gml:endPosition").text() = isoDateTime(series.to, OleDate()).c_str();
        auto result = observation.append_child("om:resultTime").append_child("gml:TimeInstant");
        result.append_attribute("gml:id") = ("result." + id).c_str();
        result.append_child("gml:timePosition").text() = generated.c_str();
        auto procedure = observation.append_child("om:procedure");
        procedure.append_attribute("xlink:title") = "KORVEL2000";
        auto property = observation.append_child("om:observedProperty");
        property.append_attribute("xlink:title") = kind.property;
        auto feature = observation.append_child("om:featureOfInterest");
        const std::string station = trimmed(series.station.stationNumber);
        feature.append_attribute("xlink:href") = ("#station." + station).c_str();
        feature.append_attribute("xlink:title") =
            (station + " " + trimmed(series.station.riverName) + " " + trimmed(series.station.stationName))
                .c_str();
        timeseries_ = observation.append_child("om:result").append_child("wml2:MeasurementTimeseries");
        timeseries_.append_attribute("gml:id") = ("ts." + id).c_str();
        auto defaults = timeseries_.append_child("wml2:defaultPointMetadata")
                            .append_child("wml2:DefaultTVPMeasurementMetadata");
        defaults.append_child("wml2:uom").append_attribute("code") = kind.unit;
        auto interpolation = defaults.append_child("wml2:interpolationType");
        interpolation.append_attribute("xlink:href") =
            (std::string(kInterpolationBase) + kind.interpolation).c_str();
    }

    // A point at `time`; a day without a value gets a nil value with its reason.
    void point(const std::string& time, std::optional<std::string> value, const SeriesDay& day) {
        auto tvp = timeseries_.append_child("wml2:point").append_child("wml2:MeasurementTVP");
        tvp.append_child("wml2:time").text() = time.c_str();
        auto valueNode = tvp.append_child("wml2:value");
        if (value)
            valueNode.text() = value->c_str();
        else
            valueNode.append_attribute("xsi:nil") = "true";
        auto metadata = tvp.append_child("wml2:metadata").append_child("wml2:TVPMeasurementMetadata");
        if (!value) {
            auto reason = metadata.append_child("wml2:nilReason");
            reason.append_attribute("xlink:href") = "http://www.opengis.net/def/nil/OGC/0/missing";
        }
        qualifier(metadata, dayQualityCode(day.quality));
        if (day.outsideRatedRange && std::string_view(kind_.id) == "discharge")
            qualifier(metadata, kOutsideRatedRange);
        if (!day.hqKey.empty() && std::string_view(kind_.id) == "discharge")
            metadata.append_child("wml2:comment").text() = ("HQ " + day.hqKey).c_str();
    }

private:
    static void qualifier(pugi::xml_node metadata, std::string_view code) {
        auto category = metadata.append_child("wml2:qualifier").append_child("swe:Category");
        category.append_attribute("definition") = kQualifierDefinition;
        category.append_child("swe:value").text() = std::string(code).c_str();
    }

    const SeriesKind& kind_;
    pugi::xml_node timeseries_;
};

constexpr SeriesKind kMeanLevel{"meanLevel", "Günlük ortalama seviye", "mm", "AverageSucc"};
constexpr SeriesKind kMaxLevel{"maxLevel", "Günlük en yüksek seviye", "mm", "Discontinuous"};
constexpr SeriesKind kMinLevel{"minLevel", "Günlük en düşük seviye", "mm", "Discontinuous"};
constexpr SeriesKind kDischarge{"discharge", "Günlük ortalama debi", "m3/s", "AverageSucc"};

std::optional<std::string> levelText(const SeriesDay& day, std::int16_t level) {
    if (!day.hasLevels)
        return std::nullopt;
    return std::to_string(level);
}

} // namespace

std::string dailySeriesWaterMl(const DailySeries& series, OleDate generated) {
    pugi::xml_document document;
    auto declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    auto collection = document.append_child("wml2:Collection");
    collection.append_attribute("xmlns:wml2") = kWaterMlNamespace;
    collection.append_attribute("xmlns:gml") = "http://www.opengis.net/gml/3.2";
    collection.append_attribute("xmlns:om") = "http://www.opengis.net/om/2.0";
    collection.append_attribute("xmlns:swe") = "http://www.opengis.net/swe/2.0";
    collection.append_attribute("xmlns:xlink") = "http://www.w3.org/1999/xlink";
    collection.append_attribute("xmlns:xsi") = "http://www.w3.org/2001/XMLSchema-instance";
    collection.append_attribute("xsi:schemaLocation") =
        "http://www.opengis.net/waterml/2.0 http://schemas.opengis.net/waterml/2.0/waterml2.xsd";
    collection.append_attribute("gml:id") = "korvel2000.series";
    const std::string generatedText = isoDateTime(generated, generated) + "Z";
    auto metadata = collection.append_child("wml2:metadata").append_child("wml2:DocumentMetadata");
    metadata.append_attribute("gml:id") = "document";
    metadata.append_child("wml2:generationDate").text() = generatedText.c_str();
    metadata.append_child("wml2:generationSystem").text() = "KORVEL2000";

    ObservationWriter mean(collection, series, kMeanLevel, generatedText);
    ObservationWriter maximum(collection, series, kMaxLevel, generatedText);
    ObservationWriter minimum(collection, series, kMinLevel, generatedText);
    ObservationWriter discharge(collection, series, kDischarge, generatedText);
    for (const SeriesDay& day : series.days) {
        const std::string midnight = isoDateTime(day.date, OleDate());
        mean.point(midnight, day.hasLevels ? std::optional(floatText(day.meanLevel)) : std::nullopt, day);
        maximum.point(day.hasLevels ? isoDateTime(day.date, day.maxTime) : midnight,
                      levelText(day, day.maxLevel), day);
        minimum.point(day.hasLevels ? isoDateTime(day.date, day.minTime) : midnight,
                      levelText(day, day.minLevel), day);
        discharge.point(midnight, day.discharge ? std::optional(floatText(*day.discharge)) : std::nullopt,
                        day);
    }
    std::ostringstream out;
    document.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return out.str();
}

} // namespace korvel
