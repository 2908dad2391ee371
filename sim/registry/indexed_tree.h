// An ordered map that also finds its elements by position.
//
// The registry enumerates subkeys and values by index, and a key may hold
// tens of thousands of subkeys that a caller walks, inserts and deletes one at
// a time. A balanced search tree whose nodes know the size of their subtree
// (a treap here) gives lookup, insertion, removal and access by index in
// O(log n), so none of those patterns turns quadratic.
//
// Elements never move in memory once inserted: the tree rearranges its nodes
// by their links, so a pointer to a value stays valid until that element is
// erased.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>

namespace kx::sim {

template <typename K, typename V>
class IndexedTree {
 public:
  IndexedTree() = default;
  IndexedTree(const IndexedTree& other) : root_(Clone(other.root_.get())) {}
  IndexedTree& operator=(const IndexedTree& other) {
    if (this != &other) root_ = Clone(other.root_.get());
    return *this;
  }
  IndexedTree(IndexedTree&&) noexcept = default;
  IndexedTree& operator=(IndexedTree&&) noexcept = default;
  ~IndexedTree() = default;

  std::size_t size() const { return SizeOf(root_.get()); }
  bool empty() const { return !root_; }

  V* Find(const K& key) {
    Node* node = root_.get();
    while (node) {
      if (key < node->key) {
        node = node->left.get();
      } else if (node->key < key) {
        node = node->right.get();
      } else {
        return &node->value;
      }
    }
    return nullptr;
  }
  const V* Find(const K& key) const { return const_cast<IndexedTree*>(this)->Find(key); }

  // The element at position index in key order; index must be below size().
  V& At(std::size_t index) { return AtNode(index)->value; }
  const V& At(std::size_t index) const { return const_cast<IndexedTree*>(this)->At(index); }
  const K& KeyAt(std::size_t index) const {
    return const_cast<IndexedTree*>(this)->AtNode(index)->key;
  }

  // Inserts value under key unless the key is present. Returns the element
  // stored under key and whether it was inserted.
  std::pair<V*, bool> Insert(K key, V value) {
    if (V* existing = Find(key)) return {existing, false};
    auto node = std::make_unique<Node>(std::move(key), std::move(value));
    std::unique_ptr<Node>* link = &root_;
    while (*link && (*link)->priority >= node->priority) {
      ++(*link)->size;
      link = node->key < (*link)->key ? &(*link)->left : &(*link)->right;
    }
    Split(std::move(*link), node->key, node->left, node->right);
    Resize(node.get());
    *link = std::move(node);
    return {&(*link)->value, true};
  }

  bool Erase(const K& key) {
    if (!Find(key)) return false;
    std::unique_ptr<Node>* link = &root_;
    for (;;) {
      Node* node = link->get();
      if (key < node->key) {
        --node->size;
        link = &node->left;
      } else if (node->key < key) {
        --node->size;
        link = &node->right;
      } else {
        break;
      }
    }
    std::unique_ptr<Node> victim = std::move(*link);
    *link = Merge(std::move(victim->left), std::move(victim->right));
    return true;
  }

  // Calls visit(key, value) for every element in key order.
  template <typename Visit>
  void ForEach(Visit&& visit) const {
    Walk(root_.get(), visit);
  }

 private:
  struct Node {
    Node(K k, V v) : key(std::move(k)), value(std::move(v)), priority(Mix(std::hash<K>{}(key))) {}
    K key;
    V value;
    std::uint64_t priority;
    std::size_t size = 1;
    std::unique_ptr<Node> left;
    std::unique_ptr<Node> right;
  };

  // The priorities come from the keys themselves, so a tree is the same after
  // the same operations in every run; the mixing spreads keys that differ in
  // one character (or consecutive numbers) over the whole range.
  static std::uint64_t Mix(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
  }

  static std::size_t SizeOf(const Node* node) { return node ? node->size : 0; }
  static void Resize(Node* node) {
    node->size = 1 + SizeOf(node->left.get()) + SizeOf(node->right.get());
  }

  Node* AtNode(std::size_t index) {
    Node* node = root_.get();
    for (;;) {
      const std::size_t leftSize = SizeOf(node->left.get());
      if (index < leftSize) {
        node = node->left.get();
      } else if (index == leftSize) {
        return node;
      } else {
        index -= leftSize + 1;
        node = node->right.get();
      }
    }
  }

  // Splits tree into the keys below key (less) and the others (rest).
  static void Split(std::unique_ptr<Node> tree, const K& key, std::unique_ptr<Node>& less,
                    std::unique_ptr<Node>& rest) {
    if (!tree) {
      less.reset();
      rest.reset();
      return;
    }
    if (tree->key < key) {
      Split(std::move(tree->right), key, tree->right, rest);
      Resize(tree.get());
      less = std::move(tree);
    } else {
      Split(std::move(tree->left), key, less, tree->left);
      Resize(tree.get());
      rest = std::move(tree);
    }
  }

  // Joins two trees where every key of low is below every key of high.
  static std::unique_ptr<Node> Merge(std::unique_ptr<Node> low, std::unique_ptr<Node> high) {
    if (!low) return high;
    if (!high) return low;
    if (low->priority > high->priority) {
      low->right = Merge(std::move(low->right), std::move(high));
      Resize(low.get());
      return low;
    }
    high->left = Merge(std::move(low), std::move(high->left));
    Resize(high.get());
    return high;
  }

  static std::unique_ptr<Node> Clone(const Node* node) {
    if (!node) return nullptr;
    auto copy = std::make_unique<Node>(node->key, node->value);
    copy->size = node->size;
    copy->left = Clone(node->left.get());
    copy->right = Clone(node->right.get());
    return copy;
  }

  template <typename Visit>
  static void Walk(const Node* node, Visit& visit) {
    while (node) {
      Walk(node->left.get(), visit);
      visit(node->key, node->value);
      node = node->right.get();
    }
  }

  std::unique_ptr<Node> root_;
};

}  // namespace kx::sim
