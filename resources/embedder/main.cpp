// Turns the drawn bmpNNNNN.png files into a C++ source holding their bytes,
// so the pictures travel inside the plug-in binary.
// Usage: embed-pictures OUTPUT.cpp PICTURE.png...
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Picture {
    int id;
    std::string path;
};

// "…/bmp12022.png" -> 12022, or -1 when the name does not follow the pattern.
int idFromPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() != 12 || name.compare(0, 3, "bmp") != 0 || name.compare(8, 4, ".png") != 0) return -1;
    int id = 0;
    for (std::size_t i = 3; i < 8; ++i) {
        if (name[i] < '0' || name[i] > '9') return -1;
        id = id * 10 + (name[i] - '0');
    }
    return id;
}

// A string literal compiles far faster than a brace list of numbers. Octal
// escapes are always three digits, so a following digit never joins them;
// '?' is escaped to stay clear of trigraphs.
void writeLiteral(std::ostream& out, const std::vector<char>& bytes) {
    constexpr std::size_t LINE = 96;
    std::size_t column = 0;
    out << "    \"";
    for (char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\' && c != '?') {
            out << ch;
            ++column;
        } else {
            const char octal[5] = {'\\', char('0' + (c >> 6)), char('0' + ((c >> 3) & 7)), char('0' + (c & 7)), '\0'};
            out << octal;
            column += 4;
        }
        if (column >= LINE) {
            out << "\"\n    \"";
            column = 0;
        }
    }
    out << "\"";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp PICTURE.png...\n", argv[0]);
        return 2;
    }
    std::vector<Picture> pictures;
    for (int i = 2; i < argc; ++i) {
        const int id = idFromPath(argv[i]);
        if (id < 0) {
            std::fprintf(stderr, "%s: not a bmpNNNNN.png picture\n", argv[i]);
            return 1;
        }
        pictures.push_back({id, argv[i]});
    }
    std::sort(pictures.begin(), pictures.end(), [](const Picture& a, const Picture& b) { return a.id < b.id; });
    for (std::size_t i = 1; i < pictures.size(); ++i) {
        if (pictures[i].id == pictures[i - 1].id) {
            std::fprintf(stderr, "picture %d given twice\n", pictures[i].id);
            return 1;
        }
    }

    const std::string outputPath = argv[1];
    const std::string temporaryPath = outputPath + ".tmp";
    {
        std::ofstream out(temporaryPath, std::ios::binary);
        out << "// Generated at build time from the drawn pictures; edit the generator instead.\n"
               "#include \"resources/EmbeddedPictures.h\"\n\n"
               "namespace tidewalker::resources {\n\nnamespace {\n\n";
        for (const Picture& picture : pictures) {
            std::ifstream in(picture.path, std::ios::binary);
            const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
            if (!in.good() && !in.eof()) {
                std::fprintf(stderr, "%s: cannot read\n", picture.path.c_str());
                return 1;
            }
            out << "const char picture" << picture.id << "[] =\n";
            writeLiteral(out, bytes);
            out << ";\n\n";
        }
        out << "}  // namespace\n\nconst EmbeddedPicture EMBEDDED_PICTURES[] = {\n";
        for (const Picture& picture : pictures)
            out << "    {" << picture.id << ", picture" << picture.id << ", sizeof(picture" << picture.id << ") - 1},\n";
        out << "};\n\nconst std::size_t EMBEDDED_PICTURE_COUNT = " << pictures.size() << ";\n\n"
            << "}  // namespace tidewalker::resources\n";
        if (!out.good()) {
            std::fprintf(stderr, "%s: cannot write\n", temporaryPath.c_str());
            return 1;
        }
    }
    if (std::rename(temporaryPath.c_str(), outputPath.c_str()) != 0) {
        std::fprintf(stderr, "%s: cannot replace\n", outputPath.c_str());
        return 1;
    }
    return 0;
}
