#!/bin/sh
# Generates the audio the waveform tests decode, into the directory given (default: .).
# Small and made at test time so no media is committed.
set -eu
out=${1:-.}
mkdir -p "$out"
ff() { ffmpeg -nostdin -hide_banner -loglevel error -y "$@"; }

# Levels that map to known decibels: 0.1 of full scale is 3277, -19.9997 dB.
ff -f lavfi -i "aevalsrc=exprs=0.1|0.1:sample_rate=44100:duration=5" -c:a pcm_s16le "$out/dc-44100-stereo.wav"
ff -f lavfi -i "anullsrc=sample_rate=48000:channel_layout=mono" -t 3 -c:a pcm_s16le "$out/silence-48000-mono.wav"
# A full-scale square wave: every sample is +32767 or -32768.
ff -f lavfi -i "aevalsrc=exprs=if(lt(mod(t*441\,1)\,0.5)\,1\,-1):sample_rate=22050:duration=2" -c:a pcm_s16le "$out/square-22050-mono.wav"
# Half scale for the first two seconds, silence for the next two: the seek test's landmark.
ff -f lavfi -i "aevalsrc=exprs=if(lt(t\,2)\,0.5\,0)|if(lt(t\,2)\,0.5\,0):sample_rate=48000:duration=4" -c:a pcm_s16le "$out/step-48000-stereo.wav"
# A low rate with several channels: 8 samples a second per channel.
ff -f lavfi -i "aevalsrc=exprs=0.1|0.1|0.1:sample_rate=8:duration=4" -c:a pcm_s16le "$out/tiny-rate.wav" 2>/dev/null \
  || ff -f lavfi -i "aevalsrc=exprs=0.1|0.1|0.1:sample_rate=100:duration=4" -c:a pcm_s16le "$out/tiny-rate.wav"
# Loudness that swells and fades, so every point differs from its neighbours: parts of a
# reading joined out of step would show. As PCM and as AAC; AAC without noise
# substitution, whose random noise differs between any two readings.
ff -f lavfi -i "aevalsrc=exprs=0.8*abs(sin(0.7*t))*sin(2*PI*440*t)|0.5*abs(sin(0.9*t))*sin(2*PI*660*t):sample_rate=44100:duration=7" \
   -c:a pcm_s16le "$out/swell-44100-stereo.wav"
ff -i "$out/swell-44100-stereo.wav" -c:a aac -aac_pns 0 -b:a 128k "$out/swell.m4a"
# Compressed audio in a film container, with a video stream the waveform must skip.
ff -f lavfi -i "testsrc2=size=64x36:rate=5:duration=6" -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=6" \
   -c:v libx264 -preset ultrafast -c:a aac -b:a 96k -shortest -movflags +faststart "$out/film.mp4"
ff -f lavfi -i "testsrc2=size=64x36:rate=5:duration=2" -c:v libx264 -preset ultrafast "$out/no-audio.mp4"
# The film cut off part way through, and a file that is no media at all.
head -c 20000 "$out/film.mp4" > "$out/truncated.mp4"
head -c 4000 /dev/urandom > "$out/garbage.mp4"
# A WAV whose header promises more data than it holds.
head -c 200000 "$out/dc-44100-stereo.wav" > "$out/truncated.wav"
