#pragma once

namespace db {

enum class DataType { Unknown, String, Integer, Float, Boolean, Date, DateTime, Blob, Cursor };

const char* dataTypeName(DataType type);

} // namespace db
