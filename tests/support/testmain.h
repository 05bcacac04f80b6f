#pragma once

#include <QApplication>
#include <QFont>
#include <QtTest>

#include <terminalhost/hostreset.h>

/// Runs a QtTest class in an application set up as the terminal sets itself up: web engine
/// contexts shared, the Fusion style, the CJK font, and a host reset before the first test.
#define STATUSBAR_TEST_MAIN(TestClass)                                                                 \
    int main(int argc, char** argv)                                                                   \
    {                                                                                                 \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                                   \
        QApplication::setStyle(QStringLiteral("Fusion"));                                             \
        QApplication app(argc, argv);                                                                 \
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));                                            \
        font.setPixelSize(12);                                                                        \
        QApplication::setFont(font);                                                                  \
        resetHost();                                                                                  \
        TestClass test;                                                                               \
        QTEST_SET_MAIN_SOURCE_PATH                                                                    \
        return QTest::qExec(&test, argc, argv);                                                       \
    }
