// Lists kept in step with the document's: entries removed at, or put back
// at, sorted indices, the others keeping their order.
#pragma once

#include <utility>
#include <vector>

namespace edit {

template <class T>
void eraseat(std::vector<T>& v, const std::vector<int>& at) {
  if (at.empty()) return;
  size_t out = size_t(at.front()), k = 0;
  for (size_t i = out; i < v.size(); i++) {
    if (k < at.size() && size_t(at[k]) == i) {
      k++;
      continue;
    }
    v[out++] = std::move(v[i]);
  }
  v.resize(out);
}

// Makes room so that the new entries end at the sorted indices, each made by
// make(k) for the k-th index.
template <class T, class F>
void insertat(std::vector<T>& v, const std::vector<int>& at, F make) {
  if (at.empty()) return;
  std::vector<T> out;
  out.reserve(v.size() + at.size());
  size_t from = 0, k = 0;
  while (out.size() < v.size() + at.size()) {
    if (k < at.size() && size_t(at[k]) == out.size()) {
      out.push_back(make(k));
      k++;
    } else {
      out.push_back(std::move(v[from++]));
    }
  }
  v = std::move(out);
}

}  // namespace edit
