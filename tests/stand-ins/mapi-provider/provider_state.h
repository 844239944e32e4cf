// The stand-in's process-wide bookkeeping: counters, journal, armed failure
// and the MAPI buffer allocator.
#pragma once

#include <windows.h>
#include <mapix.h>

#include <string>

#include "stand_in_control.h"

namespace standin {

void Journal(const std::string& event);
// Journals `call`; true when the test armed it, with the result to give.
bool Intercept(const std::string& call, HRESULT* result);

void Arm(const char* call, HRESULT result);
StandInCounters Counters();
DWORD TakeJournal(char* buffer, DWORD size);

void ObjectCreated();
void ObjectDestroyed();
void AdjustInitBalance(LONG delta);
LONG InitBalance();

SCODE AllocateBuffer(ULONG size, void** block);
SCODE AllocateMore(ULONG size, void* parent, void** block);
ULONG FreeBuffer(void* block);

}  // namespace standin
