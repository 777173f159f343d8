// The columns the importer reads and the header names (English and Japanese) that name them.
#pragma once

#include <optional>
#include <string_view>

#include "tools/listing_writer.h"

namespace zepa {

enum class Column { Date, Open, High, Low, Close, Volume, Code, Name, Factor };
inline constexpr int kColumnCount = 9;

// The column a header names, after trimming blanks and quotes and folding ASCII case; none for
// the columns the importer ignores (moving averages, turnover, Adj Close...).
std::optional<Column> columnOfHeader(std::string_view header);

// The listing column a names file's header names (the data vendor's listed-info file or the
// exchange's list of listed stocks): the same trimming and folding. The name is Column::Name.
std::optional<ListingField> listingFieldOfHeader(std::string_view header);

// Blanks (ASCII and the full-width space) and double quotes trimmed from both ends.
std::string_view trimField(std::string_view text);

}  // namespace zepa
