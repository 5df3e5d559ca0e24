#include "sdk/framework/ring_ptr.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Counts its destructions.
struct Tracked {
  explicit Tracked(int& deaths) : deaths(deaths) {}
  virtual ~Tracked() { ++deaths; }
  int& deaths;
};

TEST(RingPtr, TheLastOwnerDeletesWhateverTheOrder) {
  for (int order = 0; order < 3; ++order) {
    SCOPED_TRACE(order);
    int deaths = 0;
    auto* a = new CRingPtr<Tracked>(new Tracked(deaths));
    auto* b = new CRingPtr<Tracked>(*a);
    auto* c = new CRingPtr<Tracked>(*b);
    EXPECT_EQ(a->Get(), c->Get());
    std::vector<CRingPtr<Tracked>*> drop = {a, b, c};
    std::rotate(drop.begin(), drop.begin() + order, drop.end());
    delete drop[0];
    delete drop[1];
    EXPECT_EQ(deaths, 0);
    delete drop[2];
    EXPECT_EQ(deaths, 1);
  }
}

TEST(RingPtr, ReleaseDropsOnlyThisShare) {
  int deaths = 0;
  CRingPtr<Tracked> a(new Tracked(deaths));
  CRingPtr<Tracked> b(a);
  a.Release();
  EXPECT_FALSE(a);
  EXPECT_FALSE(a.IsOwner());
  EXPECT_EQ(deaths, 0);
  a.Release();  // twice is harmless
  b.Release();
  EXPECT_EQ(deaths, 1);
}

TEST(RingPtr, UnownedHoldersAndTheirCopiesNeverDelete) {
  int deaths = 0;
  Tracked object(deaths);
  {
    CRingPtr<Tracked> unowned(&object, false);
    CRingPtr<Tracked> copy(unowned);
    EXPECT_FALSE(copy.IsOwner());
    EXPECT_EQ(copy.Get(), &object);
  }
  EXPECT_EQ(deaths, 0);
}

TEST(RingPtr, AssignmentLeavesTheOldRingAndJoinsTheNew) {
  int deathsA = 0, deathsB = 0;
  CRingPtr<Tracked> a(new Tracked(deathsA));
  CRingPtr<Tracked> b(new Tracked(deathsB));
  CRingPtr<Tracked> c(b);
  c = a;  // b's object keeps its one remaining owner
  EXPECT_EQ(deathsB, 0);
  CRingPtr<Tracked>& alias = c;  // self-assignment, as through a reference it happens
  c = alias;
  EXPECT_EQ(c.Get(), a.Get());
  b.Release();
  EXPECT_EQ(deathsB, 1);
  a.Release();
  EXPECT_EQ(deathsA, 0);
  c.Release();
  EXPECT_EQ(deathsA, 1);
}

TEST(RingPtr, StringVectorAndBlockInstances) {
  CStringVectorPtr list(new std::vector<std::string>{"a", "b"});
  {
    CStringVectorPtr copy(list);
    copy->push_back("c");
  }
  EXPECT_EQ(list->size(), 3u);

  CRingBlockPtr block(::operator new(32));
  CRingBlockPtr other(block);
  EXPECT_EQ(other.Get(), block.Get());
}

TEST(RingArrayPtr, SharesABufferAndItsSize) {
  CRingArrayPtr buffer(64);
  ASSERT_NE(buffer.Get(), nullptr);
  EXPECT_EQ(buffer.Size(), 64u);
  buffer.Get()[63] = 0x5A;
  CRingArrayPtr copy(buffer);
  buffer.Release();
  EXPECT_EQ(buffer.Size(), 0u);
  EXPECT_EQ(buffer.Get(), nullptr);
  EXPECT_EQ(copy.Size(), 64u);
  EXPECT_EQ(copy.Get()[63], 0x5A);

  CRingArrayPtr empty(0);
  EXPECT_EQ(empty.Get(), nullptr);
  unsigned char local[4] = {};
  CRingArrayPtr borrowed(local, sizeof local, false);
  CRingArrayPtr borrowedCopy(borrowed);
  EXPECT_FALSE(borrowedCopy.IsOwner());
}

}  // namespace
