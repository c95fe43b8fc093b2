// The music: the score parser, the renderer (notes through the synthesiser, echoes, a loop's tails
// folded onto its start, the level set by RMS) and the OGG Vorbis encoding through libvorbisenc.
#include "music.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "sounds.h"

namespace gen {

namespace {

std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r"), b = s.find_last_not_of(" \t\r");
    return a == std::string::npos ? "" : s.substr(a, b - a + 1);
}

[[noreturn]] void fail(const std::string& name, int line, const std::string& what) {
    throw std::runtime_error(name + ":" + std::to_string(line) + ": " + what);
}

double number(const std::string& name, int line, const std::string& key, const std::string& v, double lo,
              double hi) {
    char* end = nullptr;
    const double d = std::strtod(v.c_str(), &end);
    if (v.empty() || *end != '\0' || !std::isfinite(d) || d < lo || d > hi) {
        std::ostringstream msg;
        msg << key << " needs a number in " << lo << " .. " << hi << ", not '" << v << "'";
        fail(name, line, msg.str());
    }
    return d;
}

// A comment starts at a '#' that begins a word; inside a word it is a sharp (F#4).
std::string without_comment(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
    return line;
}

}  // namespace

std::string instrument_of(const std::string& track) { return track.substr(0, track.find(':')); }

double note_hz(const std::string& n) {
    static const int kSemis[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G from C
    if (n.size() < 2 || n[0] < 'A' || n[0] > 'G') return 0;
    int semis = kSemis[n[0] - 'A'];
    size_t at = 1;
    if (n[at] == '#')
        ++semis, ++at;
    else if (n[at] == 'b')
        --semis, ++at;
    if (at + 1 != n.size() || n[at] < '0' || n[at] > '8') return 0;
    const int midi = 12 * (n[at] - '0' + 1) + semis;
    return 440.0 * std::pow(2.0, (midi - 69) / 12.0);
}

Score parse_score(const std::string& text, const std::string& name) {
    Score s;
    std::istringstream in(text);
    std::string line;
    int at = 0;
    enum { Head, InInstrument, InPattern, InSong } where = Head;
    Instrument* inst = nullptr;
    Pattern* pat = nullptr;
    std::vector<std::tuple<std::string, std::string, int>> track_lines;  // pattern track, tokens, line
    while (std::getline(in, line)) {
        ++at;
        const std::string t = trim(without_comment(line));
        if (t.empty()) continue;
        if (t.front() == '[') {
            if (t.back() != ']')
                fail(name, at, "a section is '[instrument NAME]', '[pattern NAME]' or '[song]'");
            std::istringstream words(t.substr(1, t.size() - 2));
            std::string kind, id, extra;
            words >> kind >> id >> extra;
            if (kind == "song" && id.empty()) {
                where = InSong;
            } else if (kind == "instrument" && !id.empty() && extra.empty()) {
                if (s.instruments.count(id)) fail(name, at, "instrument '" + id + "' is written twice");
                inst = &s.instruments[id];
                where = InInstrument;
            } else if (kind == "pattern" && !id.empty() && extra.empty()) {
                if (s.patterns.count(id)) fail(name, at, "pattern '" + id + "' is written twice");
                pat = &s.patterns[id];
                where = InPattern;
            } else {
                fail(name, at, "a section is '[instrument NAME]', '[pattern NAME]' or '[song]'");
            }
            continue;
        }
        const size_t eq = t.find('=');
        if (eq == std::string::npos) fail(name, at, "expected 'key = value'");
        const std::string key = trim(t.substr(0, eq)), value = trim(t.substr(eq + 1));
        switch (where) {
            case Head:
                if (key == "tempo")
                    s.tempo = number(name, at, key, value, 40, 300);
                else if (key == "steps_per_beat")
                    s.steps_per_beat = int(number(name, at, key, value, 1, 8));
                else if (key == "loudness_db")
                    s.loudness_db = number(name, at, key, value, -40, -6);
                else if (key == "tail")
                    s.tail = number(name, at, key, value, 0, 5);
                else if (key == "loop") {
                    if (value != "yes" && value != "no") fail(name, at, "loop is yes or no");
                    s.loop = value == "yes";
                } else {
                    fail(name, at, "unknown score key '" + key + "' (before the first section)");
                }
                break;
            case InInstrument:
                if (key == "echo_steps")
                    inst->echo_steps = number(name, at, key, value, 0, 64);
                else if (key == "echo_feedback")
                    inst->echo_feedback = number(name, at, key, value, 0, 0.9);
                else
                    set_sound_part_key(inst->part, key, value, name, at);
                break;
            case InPattern:
                // A track written again in its pattern goes on where it stopped: long lines can
                // be written a bar or a phrase a line.
                track_lines.emplace_back(key, value, at);
                {
                    std::istringstream tokens(value);
                    std::string tok;
                    std::vector<Step>& steps = pat->tracks[key];
                    while (tokens >> tok) {
                        if (tok == "|") continue;  // a bar line, for the reader
                        Step st;
                        if (tok == ".") {
                            st.kind = Step::Rest;
                        } else if (tok == "-") {
                            st.kind = Step::Hold;
                        } else if (tok == "x") {
                            st.kind = Step::Note;
                        } else {
                            st.kind = Step::Note;
                            st.freq = note_hz(tok);
                            if (st.freq == 0) fail(name, at, "'" + tok + "' is not a note, '-', '.' or 'x'");
                        }
                        steps.push_back(st);
                    }
                    if (steps.empty()) fail(name, at, "track '" + key + "' has no steps");
                    pat->steps = std::max(pat->steps, int(steps.size()));
                }
                break;
            case InSong:
                if (key != "order") fail(name, at, "the song has only 'order = PATTERN ...'");
                {
                    std::istringstream words(value);
                    std::string w;
                    while (words >> w) {
                        if (!s.patterns.count(w))
                            fail(name, at, "the order names pattern '" + w + "', never written");
                        s.order.push_back(w);
                    }
                }
                break;
        }
    }
    for (const auto& [track, tokens, line_no] : track_lines)
        if (!s.instruments.count(instrument_of(track)))
            fail(name, line_no, "no instrument '" + instrument_of(track) + "' for the track");
    if (s.order.empty()) fail(name, at, "the score needs a [song] with an order");
    return s;
}

double step_seconds(const Score& s) { return 60.0 / (s.tempo * s.steps_per_beat); }

namespace {

int total_steps(const Score& s) {
    int n = 0;
    for (const std::string& p : s.order) n += s.patterns.at(p).steps;
    return n;
}

// Sample index of a step: rounded from the step's exact time, so rounding never adds up.
int step_sample(const Score& s, int step) { return synth::sample_count(step * step_seconds(s)); }

}  // namespace

int piece_samples(const Score& s) {
    const int body = step_sample(s, total_steps(s));
    return s.loop ? body : body + synth::sample_count(s.tail);
}

std::vector<int16_t> render_score(const Score& s) {
    const int n = piece_samples(s);
    if (n <= 0) throw std::invalid_argument("a piece needs some length");
    std::vector<double> mix(size_t(n), 0.0);
    // Places `v` from sample `at`: a loop folds what runs past its end onto its start, where the
    // next time round it would sound; a piece that ends cuts it at its tail.
    auto add = [&](std::vector<double>& into, const std::vector<double>& v, int at) {
        for (size_t i = 0; i < v.size(); ++i) {
            long k = long(at) + long(i);
            if (s.loop)
                k %= n;
            else if (k >= n)
                break;
            into[size_t(k)] += v[i];
        }
    };
    // A drum plays the same sample hundreds of times: render each distinct note once.
    std::map<std::tuple<std::string, double, double>, std::vector<double>> cache;
    for (const auto& [iname, inst] : s.instruments) {
        std::vector<double> track(size_t(n), 0.0);
        bool used = false;
        int first = 0;
        for (const std::string& pname : s.order) {
            const Pattern& pat = s.patterns.at(pname);
            for (const auto& [tname, steps] : pat.tracks) {
                if (instrument_of(tname) != iname) continue;
                for (int i = 0; i < pat.steps; ++i) {
                    const Step& st = steps[size_t(i) % steps.size()];
                    if (st.kind != Step::Note) continue;
                    int len = 1;
                    while (i + len < pat.steps && steps[size_t(i + len) % steps.size()].kind == Step::Hold)
                        ++len;
                    synth::Part p = inst.part;
                    if (st.freq > 0) {
                        p.freq = st.freq;
                        // Held for its steps, less a hair so repeated notes part audibly.
                        const double held = len * step_seconds(s) - p.attack - 0.01;
                        p.sustain = std::max(0.0, held);
                    }
                    p.start = 0;
                    auto key = std::make_tuple(iname, p.freq, p.sustain);
                    auto c = cache.find(key);
                    if (c == cache.end()) c = cache.emplace(key, synth::render_part(p)).first;
                    add(track, c->second, step_sample(s, first + i));
                    used = true;
                }
            }
            first += pat.steps;
        }
        if (!used) continue;
        if (inst.echo_steps > 0 && inst.echo_feedback > 0) {
            // y[k] = x[k] + feedback * y[k - delay]; a loop runs round twice more so the echoes
            // of its end reach its start.
            const int delay = std::max(1, synth::sample_count(inst.echo_steps * step_seconds(s)));
            std::vector<double> dry = track;
            const int rounds = s.loop ? 3 : 1;
            for (int r = 0; r < rounds; ++r)
                for (int k = 0; k < n; ++k) {
                    const long from = long(k) - delay;
                    double back = 0;
                    if (from >= 0)
                        back = track[size_t(from)];
                    else if (s.loop)
                        back = track[size_t(from + n)];
                    track[size_t(k)] = dry[size_t(k)] + inst.echo_feedback * back;
                }
        }
        add(mix, track, 0);
    }
    double sum = 0, peak = 0;
    for (double v : mix) {
        sum += v * v;
        peak = std::max(peak, std::fabs(v));
    }
    const double rms = std::sqrt(sum / n);
    if (rms == 0) throw std::invalid_argument("a piece needs some notes");
    const double ceiling = 32767.0 * std::pow(10.0, -1.05 / 20.0);
    const double gain = std::min(32767.0 * std::pow(10.0, s.loudness_db / 20.0) / rms, ceiling / peak);
    // A piece that ends fades over its last 20 ms rather than stopping on a sample.
    const int fade = s.loop ? 0 : std::min(synth::sample_count(0.02), n);
    std::vector<int16_t> out(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        double v = mix[size_t(k)] * gain;
        if (n - 1 - k < fade) v *= double(n - 1 - k) / fade;
        out[size_t(k)] = int16_t(std::lround(std::clamp(v, -ceiling, ceiling)));
    }
    return out;
}

std::vector<uint8_t> ogg_vorbis_bytes(const std::vector<int16_t>& samples, float quality) {
    vorbis_info vi;
    vorbis_info_init(&vi);
    if (vorbis_encode_init_vbr(&vi, 1, synth::kRate, quality) != 0) {
        vorbis_info_clear(&vi);
        throw std::runtime_error("the Vorbis encoder refuses the settings");
    }
    vorbis_comment vc;
    vorbis_comment_init(&vc);
    vorbis_comment_add_tag(&vc, "TITLE", "Tessel: Cinder Arc");
    vorbis_dsp_state vd;
    vorbis_block vb;
    vorbis_analysis_init(&vd, &vi);
    vorbis_block_init(&vd, &vb);
    ogg_stream_state os;
    ogg_stream_init(&os, 0x7e55e1);  // a fixed serial number: the same bytes on every build
    std::vector<uint8_t> out;
    ogg_page og;
    auto put_page = [&] {
        out.insert(out.end(), og.header, og.header + og.header_len);
        out.insert(out.end(), og.body, og.body + og.body_len);
    };
    ogg_packet header, comments, codebooks;
    vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
    ogg_stream_packetin(&os, &header);
    ogg_stream_packetin(&os, &comments);
    ogg_stream_packetin(&os, &codebooks);
    while (ogg_stream_flush(&os, &og)) put_page();  // the audio starts on a page of its own

    constexpr int kBlock = 4096;
    for (size_t at = 0;; at += kBlock) {
        const int count = int(std::min<size_t>(kBlock, samples.size() - std::min(at, samples.size())));
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&vd, count);
            for (int i = 0; i < count; ++i) buffer[0][i] = float(samples[at + size_t(i)]) / 32768.0f;
        }
        vorbis_analysis_wrote(&vd, count);  // 0 marks the end
        while (vorbis_analysis_blockout(&vd, &vb) == 1) {
            vorbis_analysis(&vb, nullptr);
            vorbis_bitrate_addblock(&vb);
            ogg_packet op;
            while (vorbis_bitrate_flushpacket(&vd, &op)) {
                ogg_stream_packetin(&os, &op);
                while (ogg_stream_pageout(&os, &og)) put_page();
            }
        }
        if (count == 0) break;
    }
    while (ogg_stream_flush(&os, &og)) put_page();
    ogg_stream_clear(&os);
    vorbis_block_clear(&vb);
    vorbis_dsp_clear(&vd);
    vorbis_comment_clear(&vc);
    vorbis_info_clear(&vi);
    return out;
}

void write_music(const std::string& src, const std::string& out, const std::string& pcm_dir) {
    std::filesystem::create_directories(out + "/music");
    if (!pcm_dir.empty()) std::filesystem::create_directories(pcm_dir);
    for (const char* stem : kMusicPieces) {
        const std::string path = src + "/music/" + stem + ".txt";
        std::ifstream in(path, std::ios::binary);
        if (!in) throw std::runtime_error(path + ": cannot open");
        std::stringstream text;
        text << in.rdbuf();
        const std::vector<int16_t> pcm = render_score(parse_score(text.str(), path));
        // Quality 0.2 (about 70 kbit/s mono): the synthesiser's few partials lose nothing a
        // listener hears, and the five pieces stay near a megabyte.
        const std::vector<uint8_t> ogg = ogg_vorbis_bytes(pcm, 0.2f);
        auto write = [](const std::string& dest, const std::vector<uint8_t>& bytes) {
            std::ofstream f(dest, std::ios::binary);
            f.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            if (!f.flush()) throw std::runtime_error(dest + ": cannot write");
        };
        write(out + "/music/" + stem + ".ogg", ogg);
        if (!pcm_dir.empty()) write(pcm_dir + "/" + stem + ".wav", wav_bytes(pcm));
    }
}

}  // namespace gen
