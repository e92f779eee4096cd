#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>

namespace server {

// Keeps a change list from being computed while a store of the same account that
// arrived before it is still under way (an upload is decoded before its
// transaction begins, so the later change list could otherwise commit first and
// miss it). A request takes a ticket as soon as its body has arrived, says what
// it is once parsed, and gives the ticket back after its commit or refusal.
class StoreOrder {
 public:
  class Ticket {
   public:
    Ticket(StoreOrder& order, uint64_t number) : order_(order), number_(number) {}
    ~Ticket() { order_.Leave(number_); }
    Ticket(const Ticket&) = delete;
    Ticket& operator=(const Ticket&) = delete;

    // A store for this account (e-mail address, letter case ignored), or nothing to wait for.
    void Classify(bool store, const std::string& account) { order_.Classify(number_, store, account); }
    // Waits until every request that arrived earlier is known not to be a store
    // of this account, or has finished.
    void AwaitEarlierStores(const std::string& account) { order_.AwaitEarlierStores(number_, account); }

   private:
    StoreOrder& order_;
    uint64_t number_;
  };

  Ticket Arrive();

 private:
  struct Pending {
    bool classified = false;
    std::string account;
  };

  void Classify(uint64_t number, bool store, const std::string& account);
  void AwaitEarlierStores(uint64_t number, const std::string& account);
  void Leave(uint64_t number);

  std::mutex mutex_;
  std::condition_variable changed_;
  uint64_t next_ = 0;
  std::map<uint64_t, Pending> pending_;
};

}  // namespace server
