#pragma once

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// Shared plumbing of the fuzz targets: one Qt application and one scratch folder per process, and
// the fuzzer's bytes turned into a real file so that every target goes through the same file layer
// the program uses.
namespace fuzzing {

// Creates the QCoreApplication and pins the locale (en_US, code page 1252) once per process.
void InitialiseProcess();

// The process's scratch folder; created on first use, removed when the process ends normally.
const QString& ScratchFolder();

// Writes the bytes to `name` inside the scratch folder (or one of its subfolders) and returns the
// file's path. The file is rewritten in place for every input, so the folder never grows.
QString WriteScratchFile(const QString& name, const uint8_t* data, size_t size);

QByteArray BytesOf(const uint8_t* data, size_t size);

// Aborts with the message when a property that must hold for every input does not.
void Require(bool condition, const char* what);

}  // namespace fuzzing
