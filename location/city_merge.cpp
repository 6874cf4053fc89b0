// Joining the cities of a city file that changed under this clock. Portable.
#include "location/city_merge.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "location/city_parts.h"
#include "location/city_table.h"

namespace {

struct Joining {
  const CityFileRead *read;
  const FileStamp *known;
  int tableRows;  // the rows this clock had; a name the file itself repeats joins twice
  CityRecord *rows;
  std::size_t count;
  std::size_t capacity;
  bool failed;
};

bool TableHasName(const char *name, int tableRows) {
  for (int i = 0; i < tableRows; ++i) {
    if (EqualIgnoringAsciiCase(CityRow(i)->name, name)) return true;
  }
  return false;
}

void CollectNewCity(void *context, CityRecord *row) {
  Joining *joining = static_cast<Joining *>(context);
  if (joining->failed || SameFileStamp(joining->read->stamp, *joining->known)) return;
  if (TableHasName(row->name, joining->tableRows)) return;
  if (joining->count == joining->capacity) {
    const std::size_t grown = joining->capacity == 0 ? 16 : joining->capacity * 2;
    void *rows = grown > joining->capacity && grown < static_cast<std::size_t>(INT32_MAX)
                     ? std::realloc(joining->rows, grown * sizeof(CityRecord))
                     : nullptr;
    if (rows == nullptr) {
      joining->failed = true;
      return;
    }
    joining->rows = static_cast<CityRecord *>(rows);
    joining->capacity = grown;
  }
  joining->rows[joining->count++] = *row;
}

}  // namespace

int JoinCitiesOfChangedFile(std::FILE *file, FileStamp *known) {
  CityFileRead read;
  Joining joining = {&read, known, CityCount(), nullptr, 0, 0, false};
  ReadCityLines(file, &read, CollectNewCity, &joining);
  const int count = static_cast<int>(joining.count);
  // Room for all of them first: a save must not end the clock for want of memory.
  if (joining.failed || count > INT32_MAX - CityCount() ||
      !ReserveCityRows(CityCount() + count)) {
    std::free(joining.rows);
    return -1;
  }
  for (int i = 0; i < count; ++i) {
    CityRecord *row = &joining.rows[i];
    StoreCity(1, row->name, row->degrees, row->minutes, row->seconds, row->hemisphere, row->zone,
              row->dst);
  }
  std::free(joining.rows);
  *known = read.stamp;
  return count;
}
