#pragma once

#include <QStringList>
#include <QVector>

// The checker's answers of one package a line ("apt_check -p" and "-k"): five fields split
// at ';'. Lines of any other shape are left out.
QVector<QStringList> checkerRecords(const QString& output);
