// XXCollection: the engine's ordered, keyed, doubly linked list.
//
// It owns its items and has one built-in cursor, so only one iteration per
// list may run at a time. Searches return the first node from the front
// whose key matches; the list itself does not enforce unique keys. A hash
// index from key to nodes keeps those searches constant in time, so that
// building a page of many thousand blocks stays linear.
#pragma once

#include <memory>

#include <cstdint>
#include <iterator>
#include <unordered_map>

template <typename T>
class XXCollection {
 public:
  struct Node {
    T* item;
    Node* previous;
    Node* next;
    int32_t key;
  };

  XXCollection() = default;
  XXCollection(const XXCollection&) = delete;
  XXCollection& operator=(const XXCollection&) = delete;
  ~XXCollection() { clear(); }

  int32_t count() const { return count_; }
  Node* firstNode() const { return first_; }
  Node* lastNode() const { return last_; }

  // Appends a new node at the end.
  void add(T* item, int32_t key) {
    // The node is owned here until the index holds it: an allocation
    // failure in the index must not leak it.
    auto owned = std::make_unique<Node>(Node{item, last_, nullptr, key});
    Node* node = owned.get();
    index_.emplace(key, node);
    owned.release();
    if (last_) last_->next = node; else first_ = node;
    last_ = node;
    ++count_;
  }

  Node* find(int32_t key) const {
    auto range = index_.equal_range(key);
    if (range.first == range.second) return nullptr;
    if (std::next(range.first) == range.second) return range.first->second;
    // Several nodes share the key: the first from the front wins.
    for (Node* n = first_; n; n = n->next)
      if (n->key == key) return n;
    return nullptr;
  }

  T* findItem(int32_t key) const {
    Node* n = find(key);
    return n ? n->item : nullptr;
  }

  Node* findNodeOf(const T* item) const {
    for (Node* n = first_; n; n = n->next)
      if (n->item == item) return n;
    return nullptr;
  }

  // Removes and frees the node; the item is handed back, not destroyed.
  T* unlink(Node* node) {
    if (node == cursor_) cursor_ = node->next;
    for (auto [at, end] = index_.equal_range(node->key); at != end; ++at)
      if (at->second == node) {
        index_.erase(at);
        break;
      }
    detach(node);
    T* item = node->item;
    delete node;
    --count_;
    return item;
  }

  // Places the node of key directly after the node of after (0: first).
  // Nothing happens when key equals after, when the list holds one node, when
  // the node already follows after, or when either key names no node.
  void move(int32_t key, int32_t after) {
    if (key == after || count_ <= 1) return;
    Node* node = find(key);
    if (!node) return;
    Node* anchor = nullptr;
    if (after != 0) {
      anchor = find(after);
      if (!anchor || anchor->next == node) return;
    }
    detach(node);
    if (!anchor) {
      node->previous = nullptr;
      node->next = first_;
      if (first_) first_->previous = node; else last_ = node;
      first_ = node;
    } else {
      node->previous = anchor;
      node->next = anchor->next;
      if (anchor->next) anchor->next->previous = node; else last_ = node;
      anchor->next = node;
    }
  }

  // Iteration with the built-in cursor.
  T* first() {
    cursor_ = first_;
    return cursor_ ? cursor_->item : nullptr;
  }
  T* next() {
    if (cursor_) cursor_ = cursor_->next;
    return cursor_ ? cursor_->item : nullptr;
  }

  // Destroys every item and node.
  void clear() {
    Node* n = first_;
    first_ = last_ = cursor_ = nullptr;
    count_ = 0;
    index_.clear();
    while (n) {
      Node* next = n->next;
      delete n->item;
      delete n;
      n = next;
    }
  }

 private:
  void detach(Node* node) {
    if (node->previous) node->previous->next = node->next; else first_ = node->next;
    if (node->next) node->next->previous = node->previous; else last_ = node->previous;
    node->previous = node->next = nullptr;
  }

  Node* first_ = nullptr;
  Node* last_ = nullptr;
  Node* cursor_ = nullptr;
  int32_t count_ = 0;
  std::unordered_multimap<int32_t, Node*> index_;
};
