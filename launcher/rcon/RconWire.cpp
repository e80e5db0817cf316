#include "launcher/rcon/RconWire.h"

#include "common/TextCodec.h"
#include "common/TextRules.h"

#include <openssl/evp.h>

int LineNumber(const QByteArray& Line) {
    const qsizetype Tab = Line.indexOf('\t');
    if (Tab < 0)
        return -2;
    int Number = 0;
    if (!TryStrToInt(QString::fromLatin1(TrimBlanks(Line.left(Tab))), Number))
        return -2;
    return Number;
}

TReceivedLine AnalyzeLine(const QByteArray& Line, bool LoggedIn) {
    TReceivedLine R;
    R.Number = LineNumber(Line);
    const bool ServersOwn = R.Number == -2;
    const bool HasSeed = Line.contains(CDigestSeedMark);
    const bool HasSuccess = Line.contains(CAuthSuccessful);
    R.IsChallenge = ServersOwn && !LoggedIn && HasSeed;
    R.IsAccepted = ServersOwn && !LoggedIn && HasSuccess;
    R.IsRefused = ServersOwn && Line.contains(CAuthFailed);
    R.Echo = !Line.isEmpty() && !HasSeed && !HasSuccess && ServersOwn;
    return R;
}

QString EchoLogLine(const QByteArray& Line) {
    return QStringLiteral("    <BF2rcon> ") + DecodeWindows1252(Line);
}

QByteArray DigestSeed(const QByteArray& ChallengeLine) {
    QByteArray Seed = ChallengeLine;
    Seed.replace(CDigestSeedMark, "");
    return Seed.left(16);
}

QByteArray Md5Hex(const QByteArray& Data) {
    unsigned char Digest[EVP_MAX_MD_SIZE];
    unsigned int Size = 0;
    if (EVP_Digest(Data.constData(), static_cast<size_t>(Data.size()), Digest, &Size, EVP_md5(),
                   nullptr) != 1)
        return {};
    return QByteArray(reinterpret_cast<const char*>(Digest), Size).toHex();
}

QByteArray LoginLine(const QByteArray& ChallengeLine, const QByteArray& Password) {
    return "login " + Md5Hex(DigestSeed(ChallengeLine) + Password);
}

QByteArray QuotableText(const QString& Text) {
    return EncodeWindows1252(QString(Text).replace(u'"', u'\''));
}

QByteArray SayAllLine(const QString& Message) {
    return "exec game.sayall \"" + QuotableText(Message) + '"';
}

QByteArray RecordDemoLine(const QString& DemoName) {
    return "exec demo.recorddemo " + QuotableText(DemoName);
}

QString ConnectedLogLine(const QString& Host, int Port) {
    return FormatStr(QStringLiteral("Connected to BF2 server [%s:%s]"),
                     {Host, QString::number(Port)});
}

QString DisconnectedLogLine(const QString& Host, int Port) {
    return FormatStr(QStringLiteral("Disconnected from BF2 server [%s:%s]"),
                     {Host, QString::number(Port)});
}

QString NoPasswordLogLine(const QString& Host, int Port) {
    return FormatStr(QStringLiteral("No password is known for [%s:%s]"),
                     {Host, QString::number(Port)});
}
