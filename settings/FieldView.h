// Typed access to the fields of a packed little-endian record at fixed
// offsets. A view never reaches outside the bytes it was given: an access
// that would is ignored (reads give 0), so a bad index or count taken from a
// file can never touch memory outside the record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace settings {

template <typename T>
struct Field {
    size_t offset;
};

template <typename T, size_t N>
struct ArrayField {
    size_t offset;
    static constexpr size_t kCount = N;
    constexpr Field<T> At(size_t i) const { return {offset + sizeof(T) * i}; }
    constexpr size_t End() const { return offset + sizeof(T) * N; }
};

// A zero-terminated narrow text of at most size - 1 bytes.
struct TextField {
    size_t offset;
    size_t size;
    constexpr size_t End() const { return offset + size; }
};

class FieldView {
public:
    FieldView() = default;
    FieldView(uint8_t* base, size_t size) : base_(base), size_(size) {}

    template <typename T>
    T Get(Field<T> field) const;
    template <typename T>
    void Set(Field<T> field, T value);

    template <typename T, size_t N>
    T Get(ArrayField<T, N> field, size_t i) const
    {
        return i < N ? Get(field.At(i)) : T{};
    }
    template <typename T, size_t N>
    void Set(ArrayField<T, N> field, size_t i, T value)
    {
        if (i < N)
            Set(field.At(i), value);
    }

    std::string Text(TextField field) const;
    // Writes the text cut to the field (never inside a character) and its
    // terminating zero; the bytes after the terminator are left as they are.
    void SetText(TextField field, std::string_view text);

    // The view of `size` bytes at `offset`, or an empty view when they are
    // not all inside this one.
    FieldView Sub(size_t offset, size_t size) const;

    uint8_t* Bytes() const { return base_; }
    size_t Size() const { return size_; }
    bool Empty() const { return size_ == 0; }

private:
    bool Holds(size_t offset, size_t width) const { return offset <= size_ && width <= size_ - offset; }

    uint8_t* base_ = nullptr;
    size_t size_ = 0;
};

extern template int32_t FieldView::Get<int32_t>(Field<int32_t>) const;
extern template uint8_t FieldView::Get<uint8_t>(Field<uint8_t>) const;
extern template int8_t FieldView::Get<int8_t>(Field<int8_t>) const;
extern template void FieldView::Set<int32_t>(Field<int32_t>, int32_t);
extern template void FieldView::Set<uint8_t>(Field<uint8_t>, uint8_t);
extern template void FieldView::Set<int8_t>(Field<int8_t>, int8_t);

}  // namespace settings
