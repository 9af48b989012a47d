#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <limits>

#include "app/JsonExport.h"
#include "app/JsonWriter.h"

namespace {

QJsonValue ParseSingleValue(const QByteArray& text) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson("[" + text + "]", &error);
  EXPECT_EQ(error.error, QJsonParseError::NoError) << text.constData();
  return document.array().at(0);
}

QByteArray WrittenString(const QString& text) {
  JsonWriter json;
  json.String(text);
  return json.Finish().chopped(1);
}

QByteArray WrittenNumber(double value) {
  JsonWriter json;
  json.Number(value);
  return json.Finish().chopped(1);
}

}  // namespace

TEST(JsonWriterTest, LayoutOfNestedAndEmptyContainers) {
  JsonWriter json;
  json.BeginObject();
  json.Key(QLatin1StringView("a"));
  json.BeginArray();
  json.Integer(1);
  json.BeginObject();
  json.EndObject();
  json.BeginArray();
  json.EndArray();
  json.EndArray();
  json.Key(QStringLiteral("ż"));
  json.Null();
  json.EndObject();
  EXPECT_EQ(json.Finish(), QByteArray("{\n"
                                      "    \"a\": [\n"
                                      "        1,\n"
                                      "        {},\n"
                                      "        []\n"
                                      "    ],\n"
                                      "    \"\xC5\xBC\": null\n"
                                      "}\n"));
}

TEST(JsonWriterTest, StringsReadBackUnchanged) {
  const QString samples[] = {
      QString(),
      QStringLiteral("plain"),
      QStringLiteral("quote \" backslash \\ slash /"),
      QStringLiteral("lines\r\nand\ttabs\b\f"),
      QString::fromUtf16(u"\u0001\u001F\u007F\u0000end", 7),
      QStringLiteral("Zażółć gęślą jaźń 日本 \U0001F3B5 \u2028"),
  };
  for (const QString& text : samples) {
    const QByteArray written = WrittenString(text);
    EXPECT_EQ(ParseSingleValue(written).toString(), text) << written.constData();
  }
  EXPECT_EQ(WrittenString(QStringLiteral("a\"\\\n")), QByteArray(R"("a\"\\\n")"));
  EXPECT_EQ(WrittenString(QString(QChar(0x1F))), QByteArray(R"("\u001f")"));
}

TEST(JsonWriterTest, NumbersReadBackAsTheSameDouble) {
  const double samples[] = {0.0,    0.1,       2.0114285714285713, -3.5,         1e300,
                            5e-324, 1.0 / 3.0, 9007199254740992.0, 123456789.125};
  for (const double value : samples) {
    const QByteArray written = WrittenNumber(value);
    EXPECT_EQ(ParseSingleValue(written).toDouble(), value) << written.constData();
  }
  EXPECT_EQ(WrittenNumber(44100.0), QByteArray("44100"));
  EXPECT_EQ(WrittenNumber(std::nan("")), QByteArray("null"));
  EXPECT_EQ(WrittenNumber(std::numeric_limits<double>::infinity()), QByteArray("null"));

  JsonWriter json;
  json.Integer(std::numeric_limits<int64_t>::min());
  EXPECT_EQ(json.Finish(), QByteArray("-9223372036854775808\n"));
}

TEST(JsonWriterTest, ReleaseKeysFollowTheSchemaOrder) {
  Release model;
  model.Scan.TrackList = {QStringLiteral("/a/1 \"x\".mp3")};
  model.Tracks.push_back(TrackRecord::NewRow(model.Scan.TrackList.at(0)));
  model.Tracks[0].Stream.Duration = 2.0114285714285713;
  model.Tracks[0].Stream.FileSize = int64_t{5} << 32;
  model.Tracks[0].Stream.BitRate = 128;
  const QByteArray text = ReleaseToJson(model, {});
  const QJsonObject root = QJsonDocument::fromJson(text).object();
  const QJsonObject stream = root[QStringLiteral("tracks")]
                                 .toArray()
                                 .at(0)
                                 .toObject()[QStringLiteral("Stream")]
                                 .toObject();
  EXPECT_EQ(stream[QStringLiteral("Duration")].toDouble(), 2.0114285714285713);
  EXPECT_EQ(stream[QStringLiteral("FileSize")].toInteger(), int64_t{5} << 32);
  EXPECT_EQ(stream[QStringLiteral("BitRate")].toInt(), 128);
  EXPECT_TRUE(stream[QStringLiteral("Ratio")].isNull());
  EXPECT_EQ(root[QStringLiteral("scan")].toObject()[QStringLiteral("TrackList")].toArray().at(0),
            QStringLiteral("/a/1 \"x\".mp3"));

  qsizetype previous = -1;
  for (const char* key :
       {"\"scan\"", "\"tracks\"", "\"summary\"", "\"info\"", "\"run\"", "\"warnings\""}) {
    const qsizetype at = text.indexOf(key);
    EXPECT_GT(at, previous) << key;
    previous = at;
  }
  EXPECT_LT(text.indexOf("\"FilePath\""), text.indexOf("\"FileName\""));
  EXPECT_LT(text.indexOf("\"Year\""), text.indexOf("\"Drive\""));
}
