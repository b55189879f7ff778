#include "platform/sdl/sdl_mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "core/bytes.h"
#include "platform/platform_error.h"

namespace zk {
namespace {

// alsa-lib writes its complaints about a missing sound card straight to stderr,
// a dozen lines on every start of a machine without one. The device reports the
// failure itself in one line, so those lines are turned off while it is open.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using AlsaSetErrorHandler = int (*)(AlsaErrorHandler);

void quietAlsa(const char*, int, const char*, int, const char*, ...) {}

std::shared_ptr<void> silenceAlsa() {
    void* lib = SDL_LoadObject("libasound.so.2");
    if (!lib) {
        SDL_ClearError();
        return nullptr;
    }
    auto set =
        reinterpret_cast<AlsaSetErrorHandler>(SDL_LoadFunction(lib, "snd_lib_error_set_handler"));
    if (!set) {
        SDL_UnloadObject(lib);
        SDL_ClearError();
        return nullptr;
    }
    set(quietAlsa);
    return std::shared_ptr<void>(lib, [set](void* l) {
        set(nullptr);
        SDL_UnloadObject(l);
    });
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

const char* environment(const char* name) {
    const char* v = std::getenv(name);
    return v && *v ? v : nullptr;
}

}  // namespace

std::string findSoundFont() {
    for (const char* path : {
             "/usr/share/sounds/sf2/default-GM.sf2",
             "/usr/share/sounds/sf3/default-GM.sf3",
             "/usr/share/sounds/sf2/TimGM6mb.sf2",
             "/usr/share/sounds/sf2/FluidR3_GM.sf2",
             "/usr/share/sounds/sf3/MuseScore_General.sf3",
             "/usr/share/soundfonts/default.sf2",
             "/usr/share/soundfonts/FluidR3_GM.sf2",
         }) {
        if (isFile(path)) return path;
    }
    return {};
}

SdlAudioDevice::SdlAudioDevice(std::ostream& log) {
    alsaLibrary_ = silenceAlsa();
    try {
        audio_.emplace(SDL_INIT_AUDIO);
    } catch (const PlatformError& e) {
        failure_ = e.what();
    }
    if (audio_) {
        // MIDI goes through FluidSynth, or SDL_mixer's Timidity when that fails;
        // both need instruments from the machine.
        if (const char* fonts = environment("SDL_SOUNDFONTS")) {
            soundFont_ = fonts;
        } else {
            soundFont_ = findSoundFont();
            if (!soundFont_.empty()) Mix_SetSoundFonts(soundFont_.c_str());
        }
        if (!environment("TIMIDITY_CFG") && !isFile("/etc/timidity/timidity.cfg") &&
            !isFile("/etc/timidity.cfg") && isFile("/etc/timidity/timgm6mb.cfg")) {
            Mix_SetTimidityCfg("/etc/timidity/timgm6mb.cfg");
        }
        // Formats whose decoder library is missing just stay unplayable.
        Mix_Init(MIX_INIT_OGG | MIX_INIT_MP3 | MIX_INIT_MID | MIX_INIT_FLAC);
        mixInit_ = true;
        if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) == 0) {
            ready_ = true;
            Uint16 format = 0;
            int channels = 0;
            Mix_QuerySpec(&rate_, &format, &channels);
            frameBytes_ = channels * SDL_AUDIO_BITSIZE(format) / 8;
            if (rate_ > 0 && frameBytes_ > 0)
                Mix_RegisterEffect(MIX_CHANNEL_POST, countMixed, nullptr, this);
        } else {
            failure_ = std::string("Cannot open the sound device: ") + Mix_GetError();
        }
    }
    if (!ready_) {
        log << "zelkin: " << failure_ << "; the game plays without sound\n";
    }
}

SdlAudioDevice::~SdlAudioDevice() {
    if (ready_) {
        Mix_UnregisterEffect(MIX_CHANNEL_POST, countMixed);
        Mix_CloseAudio();
    }
    if (mixInit_) Mix_Quit();
    audio_.reset();
    alsaLibrary_.reset();
}

void SdlAudioDevice::countMixed(int, void*, int bytes, void* device) {
    auto* d = static_cast<SdlAudioDevice*>(device);
    d->mixedFrames_.fetch_add(static_cast<uint64_t>(bytes / d->frameBytes_),
                              std::memory_order_relaxed);
}

uint64_t SdlAudioDevice::mixedMs() const {
    if (rate_ <= 0) return 0;
    return mixedFrames_.load(std::memory_order_relaxed) * 1000 / static_cast<uint64_t>(rate_);
}

std::vector<uint8_t> riffWave(std::span<const uint8_t> format, std::span<const uint8_t> samples) {
    size_t dataSize = std::min<size_t>(samples.size(), 0x7FFFFF00u);
    if (format.size() >= 14) {
        const uint16_t blockAlign = getU16(format, 12);
        if (blockAlign > 0) dataSize -= dataSize % blockAlign;
    }
    const size_t pad = format.size() & 1;
    std::vector<uint8_t> out(12 + 8 + format.size() + pad + 8 + dataSize);
    auto tag = [&](size_t at, const char* id) { std::copy(id, id + 4, out.begin() + at); };
    tag(0, "RIFF");
    putU32(out, 4, static_cast<uint32_t>(out.size() - 8));
    tag(8, "WAVE");
    tag(12, "fmt ");
    putU32(out, 16, static_cast<uint32_t>(format.size()));
    std::copy(format.begin(), format.end(), out.begin() + 20);
    const size_t data = 20 + format.size() + pad;
    tag(data, "data");
    putU32(out, data + 4, static_cast<uint32_t>(dataSize));
    std::copy(samples.begin(), samples.begin() + static_cast<ptrdiff_t>(dataSize),
              out.begin() + static_cast<ptrdiff_t>(data + 8));
    return out;
}

struct SdlSoundMixer::Sample {
    Mix_Chunk* chunk = nullptr;
    std::vector<uint8_t> silence;  // the samples of a wave that has none
    ~Sample() {
        if (chunk) Mix_FreeChunk(chunk);
    }
};

SdlSoundMixer::SdlSoundMixer(SdlAudioDevice& device) : device_(device) {
    if (!device_.ready()) return;
    channels_ = Mix_AllocateChannels(-1);
    for (int c = channels_ - 1; c >= 0; --c) freeChannels_.push_back(c);
}

SdlSoundMixer::~SdlSoundMixer() {
    for (auto& [id, b] : buffers_)
        if (b.channel >= 0) Mix_HaltChannel(b.channel);
    buffers_.clear();
}

SoundId SdlSoundMixer::create(std::span<const uint8_t> format, std::span<const uint8_t> samples) {
    lastError_.clear();
    if (!device_.ready()) {
        lastError_ = "no sound device";
        return 0;
    }
    if (!parseWaveFormat(format).valid) {
        lastError_ = "the wave's format block describes no sound";
        return 0;
    }
    auto sample = std::make_shared<Sample>();
    const std::vector<uint8_t> riff = riffWave(format, samples);
    const size_t headers = 12 + 8 + format.size() + (format.size() & 1) + 8;
    if (riff.size() > headers) {
        sample->chunk =
            Mix_LoadWAV_RW(SDL_RWFromConstMem(riff.data(), static_cast<int>(riff.size())), 1);
        if (!sample->chunk) {
            lastError_ = Mix_GetError();
            return 0;
        }
    }
    if (!sample->chunk || sample->chunk->alen == 0) {
        // A wave without samples plays one frame of silence: a looping chunk of
        // length 0 would spin the mixer.
        if (sample->chunk) Mix_FreeChunk(sample->chunk);
        int rate = 0;
        int channels = 0;
        Uint16 fmt = 0;
        Mix_QuerySpec(&rate, &fmt, &channels);
        sample->silence.assign(
            static_cast<size_t>(std::max(1, channels)) * SDL_AUDIO_BITSIZE(fmt) / 8,
            SDL_AUDIO_ISSIGNED(fmt) ? 0 : 0x80);
        sample->chunk =
            Mix_QuickLoad_RAW(sample->silence.data(), static_cast<Uint32>(sample->silence.size()));
        if (!sample->chunk) {
            lastError_ = Mix_GetError();
            return 0;
        }
    }
    const SoundId id = next_++;
    buffers_[id].sample = std::move(sample);
    return id;
}

SoundId SdlSoundMixer::duplicate(SoundId source) {
    const Buffer* src = find(source);
    if (!src) return 0;
    const SoundId id = next_++;
    buffers_[id].sample = src->sample;
    return id;
}

SdlSoundMixer::Buffer* SdlSoundMixer::find(SoundId id) {
    auto it = buffers_.find(id);
    return it == buffers_.end() ? nullptr : &it->second;
}

const SdlSoundMixer::Buffer* SdlSoundMixer::find(SoundId id) const {
    auto it = buffers_.find(id);
    return it == buffers_.end() ? nullptr : &it->second;
}

int SdlSoundMixer::channelFor(Buffer& b) {
    if (b.channel >= 0) return b.channel;
    if (freeChannels_.empty()) {
        const int wanted = channels_ + std::max(8, channels_);
        const int now = Mix_AllocateChannels(wanted);
        for (int c = now - 1; c >= channels_; --c) freeChannels_.push_back(c);
        channels_ = std::max(channels_, now);
        if (freeChannels_.empty()) return -1;
    }
    b.channel = freeChannels_.back();
    freeChannels_.pop_back();
    return b.channel;
}

bool SdlSoundMixer::sounding(const Buffer& b) const {
    return b.channel >= 0 && Mix_Playing(b.channel) && !Mix_Paused(b.channel);
}

void SdlSoundMixer::play(SoundId id, bool looped) {
    Buffer* b = find(id);
    if (!b) return;
    if (sounding(*b)) return;  // a playing buffer goes on as it plays
    const int channel = channelFor(*b);
    if (channel < 0) return;
    if (Mix_Playing(channel) && Mix_Paused(channel) && b->looped == looped) {
        Mix_Resume(channel);
        return;
    }
    b->looped = looped;
    // Channels allocated later start at full volume.
    Mix_Volume(channel, volume_);
    Mix_PlayChannel(channel, b->sample->chunk, looped ? -1 : 0);
}

void SdlSoundMixer::setVolume(int percent) {
    volume_ = (std::clamp(percent, 0, 100) * MIX_MAX_VOLUME + 50) / 100;
    if (ready()) Mix_Volume(-1, volume_);
}

void SdlSoundMixer::stop(SoundId id) {
    const Buffer* b = find(id);
    if (b && sounding(*b)) Mix_Pause(b->channel);
}

void SdlSoundMixer::rewind(SoundId id) {
    const Buffer* b = find(id);
    if (!b || b->channel < 0 || !Mix_Playing(b->channel)) return;
    if (Mix_Paused(b->channel)) {
        Mix_HaltChannel(b->channel);  // the next play starts from the beginning
    } else {
        Mix_PlayChannel(b->channel, b->sample->chunk, b->looped ? -1 : 0);
    }
}

bool SdlSoundMixer::isPlaying(SoundId id) const {
    const Buffer* b = find(id);
    return b && sounding(*b);
}

void SdlSoundMixer::release(SoundId id) {
    auto it = buffers_.find(id);
    if (it == buffers_.end()) return;
    if (it->second.channel >= 0) {
        Mix_HaltChannel(it->second.channel);
        freeChannels_.push_back(it->second.channel);
    }
    buffers_.erase(it);
}

size_t SdlSoundMixer::sampleBytes(SoundId id) const {
    const Buffer* b = find(id);
    return b && b->sample->chunk ? b->sample->chunk->alen : 0;
}

}  // namespace zk
