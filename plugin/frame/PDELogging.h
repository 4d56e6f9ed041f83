// Diagnostics the plug-in exports for whoever debugs it; the plug-in itself
// does not call them.
//
// In the formats, "%@" stands for a description text (const char*), as
// PDEDescribe() gives for an object.
#pragma once

#include <cstdarg>
#include <cstdio>

class QObject;

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {
struct PDEControlItem;
}

#define RX_PDE_EXPORT __attribute__((visibility("default")))

extern "C" {
// Formats and writes the text to the stream, characters the locale cannot
// show replaced by "?", then flushes; 0.
RX_PDE_EXPORT int MyLog(FILE* stream, const char* format, ...);
// "BEGIN self(OBJECT) FORMAT", "END self(OBJECT) FORMAT", "LOG self(OBJECT): FORMAT"
// to the system log, with the remaining arguments applied to the line.
RX_PDE_EXPORT void _PDEProlog(const QObject* self, const char* format, ...);
RX_PDE_EXPORT void _PDEEpilog(const QObject* self, const char* format, ...);
RX_PDE_EXPORT void _PDELog(const QObject* self, const char* format, ...);
// Rows up to and including the first row whose control is null.
RX_PDE_EXPORT int _DEBUGControlTable(const pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846::PDEControlItem* table);
}

// "ClassName(0x...)" for an object, "(null)" for none.
const char* PDEDescribe(const QObject* object);
