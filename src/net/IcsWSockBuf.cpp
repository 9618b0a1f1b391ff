#include "net/IcsWSockBuf.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/SysUtils.h"

namespace {
constexpr int32_t DefaultChunkSize = 1460;
}

TIcsBuffer::TIcsBuffer(int32_t Size) {
  FBufSize = Size <= 0 ? DefaultChunkSize : Size;
  FBuf = std::make_unique<uint8_t[]>(std::size_t(FBufSize));
}

void TIcsBuffer::SetBufSize(int32_t Value) {
  if (Value <= 0) Value = DefaultChunkSize;
  if (Value == FBufSize) return;
  auto block = std::make_unique<uint8_t[]>(std::size_t(Value));
  if (FWrCount <= Value)
    std::memcpy(block.get(), FBuf.get(), std::size_t(FWrCount));
  else
    Clear();
  FBuf = std::move(block);
  FBufSize = Value;
}

int32_t TIcsBuffer::Fill(const void* Data, int32_t Offset, int32_t Len) {
  const int32_t n = std::max(0, std::min(Len, FBufSize - FWrCount));
  if (n > 0)
    std::memcpy(FBuf.get() + FWrCount, static_cast<const uint8_t*>(Data) + Offset, std::size_t(n));
  FWrCount += n;
  return n;
}

int32_t TIcsBuffer::UnreadBytes(const uint8_t*& Ptr) const {
  const int32_t n = UnreadCount();
  Ptr = n > 0 ? FBuf.get() + FRdCount : nullptr;
  return n;
}

int32_t TIcsBuffer::Consume(int32_t Len) {
  const int32_t n = std::max(0, std::min(Len, UnreadCount()));
  FRdCount += n;
  if (FRdCount >= FWrCount) Clear();
  return n;
}

TIcsBufferLinkedList::~TIcsBufferLinkedList() {
  while (TIcsBuffer* b = RemoveFromListHead()) delete b;
}

void TIcsBufferLinkedList::AddToListHead(TIcsBuffer* Buffer) {
  Buffer->Prev = nullptr;
  Buffer->Next = Head;
  if (Head)
    Head->Prev = Buffer;
  else
    Tail = Buffer;
  Head = Buffer;
}

void TIcsBufferLinkedList::AddToListTail(TIcsBuffer* Buffer) {
  Buffer->Next = nullptr;
  Buffer->Prev = Tail;
  if (Tail)
    Tail->Next = Buffer;
  else
    Head = Buffer;
  Tail = Buffer;
}

TIcsBuffer* TIcsBufferLinkedList::RemoveFromListHead() {
  TIcsBuffer* b = Head;
  if (!b) return nullptr;
  Head = b->Next;
  if (Head)
    Head->Prev = nullptr;
  else
    Tail = nullptr;
  b->Next = b->Prev = nullptr;
  return b;
}

TIcsBufferHandler::TIcsBufferHandler(TComponent* AOwner) : TComponent(AOwner) {}

void TIcsBufferHandler::Append(const void* Data, int32_t Len) {
  int32_t offset = 0;
  TIcsBuffer* chunk = FInUseList.Tail;
  while (offset < Len) {
    if (chunk) offset += chunk->Fill(Data, offset, Len - offset);
    if (offset >= Len) break;
    chunk = FFreeList.RemoveFromListHead();
    if (!chunk) chunk = new TIcsBuffer(FBufSize);
    FInUseList.AddToListTail(chunk);
  }
}

int32_t TIcsBufferHandler::FirstUnread(const uint8_t*& Ptr) const {
  Ptr = nullptr;
  return FInUseList.Head ? FInUseList.Head->UnreadBytes(Ptr) : 0;
}

void TIcsBufferHandler::Remove(int32_t Len) {
  if (Len < 0) throw Exception("TIcsBufferHandler.Remove: Invalid Len " + IntToStr(Len));
  if (!FInUseList.Head) throw Exception("TIcsBufferHandler.Remove: nothing to remove");
  TIcsBuffer* head = FInUseList.Head;
  head->Consume(Len);
  if (head->UnreadCount() == 0) FFreeList.AddToListHead(FInUseList.RemoveFromListHead());
}

bool TIcsBufferHandler::HasNoData() const {
  return !FInUseList.Head || FInUseList.Head->UnreadCount() == 0;
}

void TIcsBufferHandler::DiscardAll() {
  while (TIcsBuffer* b = FInUseList.RemoveFromListHead()) {
    b->Clear();
    FFreeList.AddToListHead(b);
  }
}
