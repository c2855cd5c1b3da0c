#pragma once

#include <QString>
#include <QTest>

// A real component or fixture a test needs. Without it the test fails with the reason in CI (CI
// set), and is skipped elsewhere, saying so: ctest reports "missing component" as a skip.
#define QAVEX_REQUIRE(present, reason)                                                                       \
    do {                                                                                                     \
        if (!(present)) {                                                                                    \
            const QByteArray why = QByteArrayLiteral("missing component: ") + QString(reason).toUtf8();      \
            if (qEnvironmentVariableIsSet("CI"))                                                             \
                QFAIL(why.constData());                                                                      \
            QSKIP(why.constData());                                                                          \
        }                                                                                                    \
    } while (false)
