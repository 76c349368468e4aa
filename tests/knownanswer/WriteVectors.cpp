// Writes the known-answer files from the step-by-step model of the tests,
// never from the engine: run once, and the files are committed.
//   write_known_answers <folder>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "ReferenceTransform.h"
#include "VectorFormat.h"
#include "WindowRecordFormat.h"

namespace {

using knownanswer::Bytes;
using knownanswer::expectationOf;
using knownanswer::inputBytes;
using knownanswer::toHex;

struct Key {
    std::string name;
    std::string text;
};

const std::vector<Key> kKeys = {
    {"empty", ""},
    {"one", "Q"},
    {"eight", "abcdefgh"},
    {"high", std::string("h\xE9\xFF\x80-ke\xFE", 8)},
    {"thirtyone", "thirty-one characters of a key!"},
    {"zerostep", "xy0P0p0P0p0P0p0P and a run of zero-step reloads"},
    {"highlong", std::string("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC forty characters with \xFF high bytes")},
    {"longest", std::string(43, 'k') + "88 characters, the longest a window accepts.!"},
};

const char* directionWord(bool encrypt) { return encrypt ? "e" : "d"; }

Bytes slice(const Bytes& bytes, size_t from, size_t length)
{
    return Bytes(bytes.begin() + static_cast<long>(from), bytes.begin() + static_cast<long>(from + length));
}

Bytes keyBytes(const Key& key) { return Bytes(key.text.begin(), key.text.end()); }

void writeTransforms(std::ostream& out)
{
    out << "# Whole transforms: the input bytes (input=SEED:LENGTH) through one buffer transform,\n"
           "# a file transform into another file and one in place, each with the key (hex),\n"
           "# the layer choice and the direction (e encrypts, d decrypts).\n";
    uint32_t seed = 1;
    for (const Key& key : kKeys) {
        for (int layer : {0, 1, 2}) {
            for (bool encrypt : {true, false}) {
                for (size_t length :
                     {0u, 1u, 5u, 7u, 8u, 9u, 128u, 255u, 1000u, 65535u, 65536u, 65537u, 131075u, 200000u}) {
                    const Bytes input = inputBytes(seed, length);
                    const Bytes output = reference::transformWhole(key.text, input, encrypt, layer);
                    out << "transform " << key.name << "-" << layer << directionWord(encrypt) << "-" << length
                        << " key=" << toHex(keyBytes(key)) << " layer=" << layer
                        << " direction=" << directionWord(encrypt) << " input=" << seed << ":" << length << " "
                        << expectationOf(output) << "\n";
                    ++seed;
                }
            }
        }
    }
    // Every value beyond the three named ones chooses both layers.
    const Bytes input = inputBytes(seed, 70000);
    out << "transform eight-3e-70000 key=" << toHex(keyBytes(kKeys[2])) << " layer=3 direction=e input=" << seed
        << ":70000 " << expectationOf(reference::transformWhole(kKeys[2].text, input, true, 3)) << "\n";
}

void writeChains(std::ostream& out)
{
    out << "# Buffer chains: the input cut into pieces=LENGTHS, one buffer transform each,\n"
           "# firstPiece 1 for the first and 0 for the rest; output is the pieces joined.\n";
    uint32_t seed = 5001;
    const std::vector<std::vector<size_t>> pieceLists = {
        {65536, 65536, 65536, 3392}, {1000, 5}, {65536, 1}, {0, 300}, {7, 65537, 9}};
    for (size_t k : {2u, 3u, 5u}) {
        const Key& key = kKeys[k];
        for (int layer : {0, 1, 2}) {
            for (bool encrypt : {true, false}) {
                for (const auto& pieces : pieceLists) {
                    size_t total = 0;
                    std::string lengths;
                    for (size_t piece : pieces) {
                        total += piece;
                        if (!lengths.empty()) lengths += ',';
                        lengths += std::to_string(piece);
                    }
                    const Bytes input = inputBytes(seed, total);
                    Bytes output;
                    reference::Continuation continuation;
                    size_t done = 0;
                    for (size_t i = 0; i < pieces.size(); ++i) {
                        const Bytes part = reference::transform(key.text, slice(input, done, pieces[i]), encrypt, layer,
                                                                i == 0, continuation);
                        output.insert(output.end(), part.begin(), part.end());
                        done += pieces[i];
                    }
                    out << "chain " << key.name << "-" << layer << directionWord(encrypt) << "-" << lengths
                        << " key=" << toHex(keyBytes(key)) << " layer=" << layer
                        << " direction=" << directionWord(encrypt) << " input=" << seed << ":" << total
                        << " pieces=" << lengths << " " << expectationOf(output) << "\n";
                    ++seed;
                }
            }
        }
    }
}

// The journal of a run on "data.bin" that has counted `chunks` chunks.
Bytes journalText(size_t chunks, size_t size)
{
    std::string text;
    for (size_t count = 0; count <= chunks; ++count) {
        char line[80];
        std::snprintf(line, sizeof line, "data.bin   %5zu   %10zu\n", count, std::min(count * reference::kChunk, size));
        text += line;
    }
    return Bytes(text.begin(), text.end());
}

// The window record of a run on a file of one window, which holds the
// window's enciphered bytes.
std::string recordOf(const Key& key, int layer, const Bytes& enciphered)
{
    unsigned char probe[windowrecord::kKeyProbeSize];
    windowrecord::keyProbe(probe);
    const Bytes probeOut = reference::transformWhole(key.text, Bytes(probe, probe + sizeof probe), true, layer);
    std::copy(probeOut.begin(), probeOut.end(), probe);
    unsigned char header[windowrecord::kHeaderSize];
    windowrecord::writeHeader(windowrecord::keyCheck(probe), header);
    unsigned char trailer[windowrecord::kTrailerSize];
    windowrecord::writeTrailer(enciphered.data(), {0, 0, enciphered.size()}, trailer);
    Bytes window = enciphered;
    window.insert(window.end(), trailer, trailer + sizeof trailer);
    return toHex(Bytes(header, header + sizeof header)) + ":" + toHex(window);
}

void writeJournals(std::ostream& out)
{
    out << "# Interrupted in-place runs on data.bin and their repair by mendkit. blob NAME\n"
           "# bytes= lines hold bytes that file= takes by b:NAME; the damaged file is the joined\n"
           "# pieces p:OFFSET:LENGTH (of the plaintext input=SEED:LENGTH), b:NAME and x:HEX.\n"
           "# journal= is the journal's text (named journal-name=), record= its window record\n"
           "# (header, then from offset 4096 window and trailer). repair= says how mendkit\n"
           "# runs: journal (--journal), finish (--journal --finish), blocks or bytes (the\n"
           "# older form with argument=). The output is the repaired file.\n";
    uint32_t seed = 9001;
    for (size_t k : {2u, 5u, 6u}) {
        const Key& key = kKeys[k];
        const int layer = k == 5 ? 1 : 0;
        const std::string common = " key=" + toHex(keyBytes(key)) + " layer=" + std::to_string(layer);
        const auto emit = [&](const std::string& name, const std::string& fields, const std::string& repair,
                              const Bytes& output) {
            out << "journal " << key.name << "-" << name << "-" << repair << common << fields << " repair=" << repair
                << " " << expectationOf(output) << "\n";
        };

        // Two chunks, the first finished; no record, as older runs left.
        const size_t size = reference::kChunk + 300;
        Bytes plain = inputBytes(seed, size);
        Bytes sealed = reference::transformWhole(key.text, plain, true, layer);
        const std::string blob = key.name + "-first-chunk";
        const std::string input = " input=" + std::to_string(seed) + ":" + std::to_string(size);
        if (k != 6) {
            out << "blob " << blob << " bytes=" << toHex(slice(sealed, 0, reference::kChunk)) << "\n";
            const std::string encrypting = input +
                                           " journal-name=TXE1700000000.adt journal=" + toHex(journalText(1, size)) +
                                           " file=b:" + blob + ",p:65536:300";
            emit("enc-after-1", encrypting, "journal", plain);
            emit("enc-after-1", encrypting, "finish", sealed);
            emit("enc-after-1", encrypting + " argument=1", "blocks", plain);
            emit("enc-after-1", encrypting + " argument=.65536", "bytes", plain);
        }
        const std::string decrypting = input +
                                       " journal-name=TXD1700000000.adt journal=" + toHex(journalText(1, size)) +
                                       " file=p:0:65536,x:" + toHex(slice(sealed, reference::kChunk, 300));
        emit("dec-after-1", decrypting, "journal", plain);
        emit("dec-after-1", decrypting + " argument=1", "blocks", plain);
        emit("dec-after-1", decrypting + " argument=.65536", "bytes", plain);
        ++seed;

        // One short window, torn: its record decides.
        plain = inputBytes(seed, 1000);
        sealed = reference::transformWhole(key.text, plain, true, layer);
        const std::string small = " input=" + std::to_string(seed) + ":1000 journal=" + toHex(journalText(0, 1000)) +
                                  " record=" + recordOf(key, layer, sealed);
        const std::string tornEncryption =
            small + " journal-name=TXE1700000001.adt file=x:" + toHex(slice(sealed, 0, 300)) + ",p:300:700";
        emit("enc-torn", tornEncryption, "journal", plain);
        emit("enc-torn", tornEncryption, "finish", sealed);
        const std::string tornDecryption =
            small + " journal-name=TXD1700000001.adt file=p:0:300,x:" + toHex(slice(sealed, 300, 700));
        emit("dec-torn", tornDecryption, "journal", plain);
        emit("dec-torn", tornDecryption, "finish", plain);

        // A run that counted every chunk but left its journal.
        const std::string finished = " input=" + std::to_string(seed) + ":1000 journal-name=TXE1700000002.adt" +
                                     " journal=" + toHex(journalText(1, 1000)) + " file=x:" + toHex(sealed);
        emit("enc-counted", finished, "journal", plain);
        emit("enc-counted", finished, "finish", sealed);
        emit("enc-counted", finished + " argument=1", "blocks", plain);
        ++seed;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: write_known_answers <folder>\n";
        return 2;
    }
    const std::string folder = argv[1];
    std::ofstream transforms(folder + "/transforms.txt"), chains(folder + "/chains.txt"),
        journals(folder + "/journals.txt");
    writeTransforms(transforms);
    writeChains(chains);
    writeJournals(journals);
    transforms.close();
    chains.close();
    journals.close();
    if (!transforms || !chains || !journals) {
        std::cerr << "cannot write the known-answer files in " << folder << "\n";
        return 1;
    }
    return 0;
}
