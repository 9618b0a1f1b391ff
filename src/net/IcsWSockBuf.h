#pragma once
// The send buffer chain of a socket: data waiting for the network, kept in fixed-size chunks.

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/rtl/Classes.h"

class TIcsBuffer {
 public:
  // A size of 0 or less means 1460.
  explicit TIcsBuffer(int32_t Size);

  int32_t BufSize() const { return FBufSize; }
  // The stored bytes survive only when the new size holds them.
  void SetBufSize(int32_t Value);
  // Copies up to Len bytes from Data + Offset after the stored ones; returns how many fit.
  int32_t Fill(const void* Data, int32_t Offset, int32_t Len);
  // The unread bytes: Ptr points to the first; returns their count (0: Ptr is null).
  int32_t UnreadBytes(const uint8_t*& Ptr) const;
  // Marks up to Len unread bytes as read and returns how many; a chunk read to its end is empty
  // again.
  int32_t Consume(int32_t Len);
  int32_t UnreadCount() const { return FWrCount - FRdCount; }
  void Clear() { FWrCount = FRdCount = 0; }

  TIcsBuffer* Next = nullptr;
  TIcsBuffer* Prev = nullptr;

 private:
  std::unique_ptr<uint8_t[]> FBuf;
  int32_t FBufSize = 0;
  int32_t FWrCount = 0;
  int32_t FRdCount = 0;
};

// A doubly linked list that owns its chunks.
class TIcsBufferLinkedList {
 public:
  TIcsBufferLinkedList() = default;
  TIcsBufferLinkedList(const TIcsBufferLinkedList&) = delete;
  TIcsBufferLinkedList& operator=(const TIcsBufferLinkedList&) = delete;
  ~TIcsBufferLinkedList();

  void AddToListHead(TIcsBuffer* Buffer);
  void AddToListTail(TIcsBuffer* Buffer);
  // Unlinks and returns the head chunk, or null when the list is empty.
  TIcsBuffer* RemoveFromListHead();

  TIcsBuffer* Head = nullptr;
  TIcsBuffer* Tail = nullptr;
};

class TIcsBufferHandler : public TComponent {
 public:
  explicit TIcsBufferHandler(TComponent* AOwner);

  int32_t BufSize() const { return FBufSize; }
  // Applies to chunks made from now on.
  void SetBufSize(int32_t Value) { FBufSize = Value; }

  // Callers bracket every other operation with Enter and Leave.
  void Enter() { FLock.lock(); }
  void Leave() { FLock.unlock(); }

  void Append(const void* Data, int32_t Len);
  // The head chunk's unread bytes; 0 (and a null Ptr) when nothing is queued.
  int32_t FirstUnread(const uint8_t*& Ptr) const;
  void Remove(int32_t Len);
  bool HasNoData() const;
  void DiscardAll();

 private:
  TIcsBufferLinkedList FInUseList;
  TIcsBufferLinkedList FFreeList;
  int32_t FBufSize = 1460;
  std::recursive_mutex FLock;
};
