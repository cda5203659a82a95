#include "platform/JpegWriter.h"
#include "platform/Shell.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(JpegWriter, WritesAPictureThatReadsBack) {
    QTemporaryDir dir;
    QImage image(64, 32, QImage::Format_ARGB32);
    image.fill(QColor(200, 30, 30));
    std::string path = dir.filePath("view.jpg").toStdString();
    ASSERT_TRUE(WriteJpeg(image, path));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 4);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);
    QImage back;
    if (back.load(QString::fromStdString(path))) {
        EXPECT_EQ(back.size(), image.size());
        EXPECT_NEAR(QColor(back.pixel(10, 10)).red(), 200, 8);
    }
}

TEST(JpegWriter, FailureKeepsTheOldFileAndLeavesNoDebris) {
    QTemporaryDir dir;
    EXPECT_FALSE(WriteJpeg(QImage(), dir.filePath("empty.jpg").toStdString()));
    EXPECT_FALSE(WriteJpeg(QImage(8, 8, QImage::Format_RGB32), dir.filePath("no/folder/x.jpg").toStdString()));
    QDir(dir.path()).mkpath("taken.jpg/inner");
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::white);
    EXPECT_FALSE(WriteJpeg(image, dir.filePath("taken.jpg").toStdString()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
}

TEST(Shell, NothingToOpenIsReported) {
    EXPECT_FALSE(ShellOpen(""));
    EXPECT_FALSE(ShellOpen("/no/such/program/anywhere"));
}

}  // namespace
