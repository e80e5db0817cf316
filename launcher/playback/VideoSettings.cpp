#include "launcher/playback/VideoSettings.h"

#include "common/Errors.h"
#include "common/FileSystem.h"
#include "common/TextRules.h"
#include "launcher/library/Library.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

const std::array<TVideoSetting, CVideoControlCount> CVideoSettings = {{
    {"VideoSettings.setTerrainQuality", "edTerrainQuality", TVideoKind::Level, false},
    {"VideoSettings.setGeometryQuality", "edGeometryQuality", TVideoKind::Level, false},
    {"VideoSettings.setLightingQuality", "edLightQuality", TVideoKind::Level, false},
    {"VideoSettings.setDynamicLightingQuality", "edDynLightQuality", TVideoKind::Level, true},
    {"VideoSettings.setDynamicShadowsQuality", "edDynShadow", TVideoKind::Level, true},
    {"VideoSettings.setEffectsQuality", "edEffectsQuality", TVideoKind::Level, false},
    {"VideoSettings.setTextureQuality", "edTextureQuality", TVideoKind::Level, false},
    {"VideoSettings.setTextureFilteringQuality", "edTxtFilterQuality", TVideoKind::Level, false},
    {"VideoSettings.setAntialiasing", "edAntialias", TVideoKind::Antialias, false},
    {"VideoSettings.setViewDistanceScale", "tbViewDistance", TVideoKind::ViewDistance, false},
}};

namespace {

// The antialiasing values in list order.
const char* const CAntialiasValues[] = {"Off", "2Samples", "4Samples", "6Samples"};
const char* const CAntialiasEntries[] = {"2x", "4x", "6x"};
constexpr int CAntialiasCount = 4;
constexpr int CMaxViewDistance = 10;

std::optional<TVideoControl> ControlOfKey(const QString& Key) {
    for (int C = 0; C < CVideoControlCount; ++C)
        if (Key == QLatin1String(CVideoSettings[C].Key))
            return TVideoControl(C);
    return std::nullopt;
}

int EntryCount(TVideoControl Control) {
    const TVideoSetting& S = CVideoSettings[Control];
    if (S.Kind == TVideoKind::Antialias)
        return CAntialiasCount;
    return S.WithOff ? 5 : 4;
}

// A position in a list of Count entries; -1 (no selection) outside it.
int ListPosition(qint64 Position, int Count) {
    return Position >= 0 && Position < Count ? int(Position) : -1;
}

double ReadDecimal(const QString& Value) {
    QLocale C = QLocale::c();
    C.setNumberOptions(QLocale::RejectGroupSeparator);
    bool Ok = false;
    const double X = C.toDouble(Value, &Ok);
    if (!Ok || !std::isfinite(X))
        throw EConvertError(QStringLiteral("'%1' is not a valid floating point value").arg(Value));
    return X;
}

} // namespace

QString ProfileFolder(const QString& BF2DocsDir, const QString& Id) {
    return BF2DocsDir + QStringLiteral("Profiles\\") + Id + u'\\';
}

bool ListProfiles(const QString& BF2DocsDir,
                  const std::function<void(const TProfileRow&)>& AddRow) {
    const QStringList Ids =
        ListSubfolders(BF2DocsDir + QStringLiteral("Profiles\\")).value_or(QStringList());
    bool Any = false;
    for (const QString& Id : Ids) {
        if (Id == QLatin1String("Default"))
            continue;
        TProfileRow Row{QString(), Id};
        QStringList Lines;
        try {
            Lines = QvrFs::LoadLines(ProfileFolder(BF2DocsDir, Id) + QStringLiteral("Profile.con"));
        } catch (const EError&) {
            AddRow(Row);
            throw;
        }
        if (!Lines.isEmpty()) {
            const QStringList Tokens = SplitCommaText(Lines.first());
            if (Tokens.size() >= 2)
                Row.Name = Tokens[1];
        }
        AddRow(Row);
        Any = true;
    }
    return Any;
}

QStringList QualityEntries(bool WithOff, const TTextLookup& Strings) {
    QStringList Entries;
    for (const char* Key : CQualityKeys)
        if (WithOff || QLatin1String(Key) != QLatin1String("Off"))
            Entries.append(Strings(QLatin1String(Key)));
    return Entries;
}

QStringList VideoListEntries(TVideoControl Control, const TTextLookup& Strings) {
    const TVideoSetting& S = CVideoSettings[Control];
    switch (S.Kind) {
    case TVideoKind::Level:
        return QualityEntries(S.WithOff, Strings);
    case TVideoKind::Antialias: {
        QStringList Entries{Strings(QStringLiteral("Off"))};
        for (const char* E : CAntialiasEntries)
            Entries.append(QLatin1String(E));
        return Entries;
    }
    case TVideoKind::ViewDistance:
        break;
    }
    return {};
}

void ApplyVideoSetting(TVideoPage& Page, TVideoControl Control, const QString& Value) {
    const TVideoSetting& S = CVideoSettings[Control];
    int& Position = Page.Position[Control];
    switch (S.Kind) {
    case TVideoKind::Level: {
        const qint64 N = StrToInt(Value);
        Position = ListPosition(S.WithOff ? N : N - 1, EntryCount(Control));
        break;
    }
    case TVideoKind::Antialias:
        for (int I = 0; I < CAntialiasCount; ++I)
            if (Value == QLatin1String(CAntialiasValues[I]))
                Position = I;
        break;
    case TVideoKind::ViewDistance: {
        // Rounded in the current (nearest, ties to even) mode: 0.75 gives 8
        // and 0.65 gives 6.
        const double Tenths = std::nearbyint(ReadDecimal(Value) * 10.0);
        Position = int(std::clamp(Tenths, 0.0, double(CMaxViewDistance)));
        break;
    }
    }
}

void ReadProfileVideo(const QString& ProfileFolder, TVideoPage& Page) {
    const QString VideoCon = ProfileFolder + QStringLiteral("Video.con");
    if (!QvrFs::FileExists(VideoCon)) {
        Page.DemoQualityEntries = 0;
        Page.DemoQuality = -1;
        return;
    }
    const QStringList Server =
        QvrFs::LoadLines(ProfileFolder + QStringLiteral("ServerSettings.con"));
    Page.DemoQuality = ListPosition(0, Page.DemoQualityEntries);
    for (const QString& Line : Server) {
        const QStringList Tokens = SplitCommaText(Line);
        if (Tokens.size() >= 2 && Tokens[0] == QLatin1String("sv.demoQuality"))
            Page.DemoQuality =
                ListPosition(qint64(StrToInt(Tokens[1])) - 1, Page.DemoQualityEntries);
    }
    for (const QString& Line : QvrFs::LoadLines(VideoCon)) {
        const QStringList Tokens = SplitCommaText(Line);
        if (Tokens.size() < 2)
            continue;
        if (const std::optional<TVideoControl> Control = ControlOfKey(Tokens[0]))
            ApplyVideoSetting(Page, *Control, Tokens[1]);
    }
}

QString ViewDistanceLabel(int Position) {
    const int P = std::clamp(Position, 0, CMaxViewDistance);
    return QString::number(P / 10) + u'.' + QString::number(P % 10) + u'0';
}

std::optional<QString> WrittenVideoValue(TVideoControl Control, int Position) {
    const TVideoSetting& S = CVideoSettings[Control];
    switch (S.Kind) {
    case TVideoKind::Level:
        return QString::number(S.WithOff ? Position : Position + 1);
    case TVideoKind::Antialias:
        if (Position < 0 || Position >= CAntialiasCount)
            return std::nullopt;
        return QLatin1String(CAntialiasValues[Position]);
    case TVideoKind::ViewDistance:
        if (Position >= CMaxViewDistance)
            return QStringLiteral("1");
        return ViewDistanceLabel(Position);
    }
    return std::nullopt;
}

void SaveVideoCon(const QString& VideoCon, const TVideoPage& Page,
                  const std::function<void(const QString&)>& Log) {
    QStringList Lines = QvrFs::LoadLines(VideoCon);
    Log(FormatStr(QStringLiteral("Saving Video settings to file [%s]"), {VideoCon}));
    Log(QStringLiteral("Video.con:"));
    for (QString& Line : Lines) {
        const QStringList Tokens = SplitCommaText(Line);
        if (!Tokens.isEmpty())
            if (const std::optional<TVideoControl> Control = ControlOfKey(Tokens[0]))
                if (const std::optional<QString> Value =
                        WrittenVideoValue(*Control, Page.Position[*Control]))
                    Line = Tokens[0] + u' ' + *Value;
        Log(QStringLiteral("    ") + Line);
    }
    Log(QStringLiteral("-- end of Video.con"));
    QvrFs::SaveLines(VideoCon, Lines);
}
