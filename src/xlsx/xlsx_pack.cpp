// Zips a folder of workbook parts into an xlsx file: [Content_Types].xml first, then the package
// relationships, then every other file in name order; no folder entries.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include <zip.h>

namespace fs = std::filesystem;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: xlsx-pack OUTPUT.xlsx PARTS_FOLDER\n");
        return 2;
    }
    const fs::path output = argv[1];
    const fs::path folder = argv[2];
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            names.push_back(fs::relative(entry.path(), folder).generic_string());
    const auto rank = [](const std::string& n) {
        return n == "[Content_Types].xml" ? 0 : n == "_rels/.rels" ? 1 : 2;
    };
    std::sort(names.begin(), names.end(), [&](const std::string& a, const std::string& b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : a < b;
    });

    fs::create_directories(output.parent_path());
    int code = 0;
    zip_t* zip = zip_open(output.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!zip) {
        std::fprintf(stderr, "xlsx-pack: cannot create %s (libzip error %d)\n", output.c_str(), code);
        return 1;
    }
    std::vector<std::string> contents;
    contents.reserve(names.size());
    for (const std::string& name : names) {
        std::ifstream in(folder / name, std::ios::binary);
        contents.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        zip_source_t* source = zip_source_buffer(zip, contents.back().data(), contents.back().size(), 0);
        const zip_int64_t index = source ? zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source)
                zip_source_free(source);
            std::fprintf(stderr, "xlsx-pack: cannot add %s: %s\n", name.c_str(), zip_strerror(zip));
            zip_discard(zip);
            return 1;
        }
        zip_set_file_compression(zip, zip_uint64_t(index), ZIP_CM_DEFLATE, 9);
    }
    if (zip_close(zip) != 0) {
        std::fprintf(stderr, "xlsx-pack: cannot write %s: %s\n", output.c_str(), zip_strerror(zip));
        zip_discard(zip);
        return 1;
    }
    return 0;
}
