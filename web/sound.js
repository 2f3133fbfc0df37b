// The game's sound in the page: one Web Audio graph with the wave voice and the music, each
// through a gain node of its own (the player's levels). The engine decodes the files and hands
// over samples; MIDI plays on FluidSynth compiled to WebAssembly (js-synthesizer), running in
// an audio worklet beside the engine's own module, with the desktop's soundfont.
//
// The graph is built when the game first sounds, or when the page has a quiet moment after
// its first paint (prepare): opening the browser's audio takes from a few to a few hundred
// milliseconds, which the page's start need not wait for.
//
// Browsers start audio only after a gesture: the graph starts suspended, and the first click,
// tap or key resumes it, so whatever the game asked for before (a looping piece at the title)
// sounds from then on, while an effect whose moment has passed stays silent. While nothing
// sounds the graph is suspended again, so an idle page costs no audio thread (the synthesizer
// would render silence on and on).
'use strict';

const TsukikageSound = (() => {
  const SOUNDFONT = 'soundfont.sf2';
  const IDLE_MS = 1500;  // silence before the graph is suspended: a piece's last notes ring out
  const WORKLET_SCRIPTS = ['libfluidsynth.js', 'fluid_quiet.js', 'js-synthesizer.worklet.min.js'];

  const levels = { voice: 1, music: 1 };  // the player's levels, kept until the graph is built
  let graph = null;

  // { context, voice, music, analysers }: the context, a gain node for each output and, for
  // the tests, an analyser after each level.
  function audio() {
    if (graph) return graph;
    const context = new AudioContext({ latencyHint: 'interactive' });
    graph = { context, analysers: {} };
    for (const output of ['voice', 'music']) {
      const gain = context.createGain();
      gain.gain.value = levels[output];
      gain.connect(context.destination);
      graph.analysers[output] = context.createAnalyser();
      gain.connect(graph.analysers[output]);
      graph[output] = gain;
    }
    if (!unlocked) context.suspend();
    return graph;
  }

  let voice = null;        // the source playing the wave voice
  let voiceAskedAt = null; // when a wave played once was asked for before audio could start
  let musicWave = null;    // a wave opened by the music device: its buffer
  let musicSource = null;  // ... and the source playing it
  let midi = null;         // the MIDI piece opened by the music device
  let midiPlaying = false;
  let midiPass = 0;        // the MIDI pass now asked for
  let musicStarts = 0;     // passes of the music started, for tests
  let unlocked = false;    // a gesture has let the page start audio
  let idleTimer = null;

  // One synthesizer for the page's life, loaded when the game first opens a MIDI piece: a
  // game that plays none never fetches the soundfont, and a waiting page never spends its
  // time on it. Its calls are queued so they reach it in order however long the soundfont
  // takes to load.
  let synth = null;
  let synthQueue = Promise.resolve();
  let synthReady = null;
  const loadSynth = () => synthReady || (synthReady = (async () => {
    const { context, music } = audio();
    if (typeof JSSynth === 'undefined' || !context.audioWorklet) return false;
    try {
      for (const script of WORKLET_SCRIPTS) await context.audioWorklet.addModule(script);
      synth = new JSSynth.AudioWorkletNodeSynthesizer();
      synth.init(context.sampleRate);
      // Full gain and the polyphony the desktop's synthesizer has.
      const node = synth.createAudioNode(context, { initialGain: 1.0, polyphony: 64 });
      node.connect(music);
      const response = await fetch(SOUNDFONT);
      if (!response.ok) throw new Error(`${SOUNDFONT}: ${response.status}`);
      await synth.loadSFont(await response.arrayBuffer());
      return true;
    } catch (error) {
      console.warn('MIDI stays silent:', error);
      synth = null;
      return false;
    }
  })());

  function withSynth(action) {
    synthQueue = synthQueue
      .then(loadSynth)
      .then((ready) => (ready ? action(synth) : undefined))
      .catch((error) => console.warn('MIDI:', error));
    return synthQueue;
  }

  // The rates an AudioBuffer takes; a wave outside them is resampled into them, as the
  // desktop's mixer converts every rate.
  const MIN_RATE = 3000;
  const MAX_RATE = 768000;

  // Samples interleaved at full scale 1 into a buffer of their own (the engine's memory is
  // reused once the call returns), by linear interpolation where the rate must change.
  function bufferOf(samples, channels, rate) {
    const frames = Math.floor(samples.length / channels);
    const target = Math.min(Math.max(rate, MIN_RATE), MAX_RATE);
    const length = Math.max(1, Math.round(frames * target / rate));
    const buffer = new AudioBuffer({ length, numberOfChannels: channels, sampleRate: target });
    if (target === rate) {
      // A rate Web Audio takes: each channel's samples as they are.
      for (let c = 0; c < channels; ++c) {
        const plane = channels === 1 ? samples.subarray(0, frames) : new Float32Array(frames);
        if (channels > 1) for (let i = 0; i < frames; ++i) plane[i] = samples[i * channels + c];
        buffer.copyToChannel(plane, c);
      }
      return buffer;
    }
    const step = rate / target;
    for (let c = 0; c < channels; ++c) {
      const plane = new Float32Array(length);
      for (let i = 0; i < length; ++i) {
        const at = Math.min(i * step, frames - 1);
        const before = Math.floor(at);
        const after = Math.min(before + 1, frames - 1);
        const share = at - before;
        plane[i] = samples[before * channels + c] * (1 - share) + samples[after * channels + c] * share;
      }
      buffer.copyToChannel(plane, c);
    }
    return buffer;
  }

  function startSource(buffer, loop, destination, offset = 0) {
    const source = audio().context.createBufferSource();
    source.buffer = buffer;
    source.loop = loop;
    source.connect(destination);
    source.start(0, offset);
    return source;
  }

  function stopSource(source) {
    if (!source) return;
    try {
      source.stop();
    } catch (error) {
      // never started
    }
    source.disconnect();
  }

  function sounding() {
    return voice !== null || musicSource !== null || midiPlaying;
  }

  // Runs the graph while something sounds, and suspends it a little after the last sound.
  function follow() {
    if (!unlocked || !graph) return;
    const { context } = graph;
    clearTimeout(idleTimer);
    idleTimer = null;
    if (sounding()) {
      if (context.state !== 'running') context.resume();
      return;
    }
    idleTimer = setTimeout(() => {
      idleTimer = null;
      if (!sounding() && context.state === 'running') context.suspend();
    }, IDLE_MS);
  }

  function startVoice(buffer, loop, offset = 0) {
    voice = startSource(buffer, loop, audio().voice, offset);
    voice.onended = function () {
      if (voice !== this) return;
      voice = null;
      follow();
    };
  }

  // A wave played once that was asked for before the gesture sounds from where it would be
  // now, or not at all once it would have ended: an effect belongs to its moment, while a
  // loop or a piece of music starts with the gesture.
  function catchUpVoice() {
    if (!voice || voiceAskedAt === null) return;
    const elapsed = (performance.now() - voiceAskedAt) / 1000;
    const buffer = voice.buffer;
    stopSource(voice);
    voice = null;
    voiceAskedAt = null;
    if (elapsed < buffer.duration) startVoice(buffer, false, elapsed);
  }

  function unlock(event) {
    if (unlocked || !event.isTrusted) return;
    unlocked = true;
    catchUpVoice();
    if (graph) graph.context.resume();
    follow();
  }
  for (const event of ['pointerdown', 'keydown', 'touchend', 'mousedown']) {
    window.addEventListener(event, unlock, { capture: true, passive: true });
  }

  return {
    get context() { return audio().context; },
    // Builds the graph ahead of the game's first sound.
    prepare() { audio(); },
    loadSynth,
    get voicePlaying() { return voice !== null; },
    get musicStarts() { return musicStarts; },
    // Whether the wave plays.
    playVoice(samples, channels, rate, loop) {
      stopSource(voice);
      voice = null;
      voiceAskedAt = null;
      if (channels < 1 || channels > 32 || samples.length < channels || !(rate > 0)) return false;
      try {
        startVoice(bufferOf(samples, channels, rate), loop);
        if (!unlocked && !loop) voiceAskedAt = performance.now();
      } catch (error) {
        console.warn('wave not played:', error);
        return false;
      }
      follow();
      return true;
    },
    stopVoice() {
      stopSource(voice);
      voice = null;
      voiceAskedAt = null;
      follow();
    },
    loadMidi(bytes) {
      this.unloadMusic();
      midi = bytes;
      loadSynth();
    },
    loadMusicWave(samples, channels, rate) {
      this.unloadMusic();
      try {
        musicWave = bufferOf(samples, channels, rate);
      } catch (error) {
        console.warn('music wave not played:', error);
      }
    },
    // From a point of the piece: milliseconds for a wave, the tick for MIDI. Each pass starts
    // a new player on the piece, as the desktop does, cutting the tail of the last one.
    playMusic(fromMs, fromTick) {
      ++musicStarts;
      if (musicWave) {
        stopSource(musicSource);
        const offset = Math.min(fromMs / 1000, musicWave.duration);
        musicSource = startSource(musicWave, false, audio().music, offset);
        musicSource.onended = function () {
          if (musicSource !== this) return;
          musicSource = null;
          follow();
        };
        follow();
        return;
      }
      if (!midi) return;
      const piece = midi;
      const pass = ++midiPass;
      midiPlaying = true;
      follow();
      withSynth(async (s) => {
        if (pass !== midiPass || !midiPlaying) return;
        s.midiAllSoundsOff();
        await s.resetPlayer();
        await s.addSMFDataToPlayer(piece.slice().buffer);
        if (fromTick > 0) s.seekPlayer(fromTick);
        await s.playPlayer();
        // The piece has played to its end: the graph may rest.
        s.waitForPlayerStopped().then(() => {
          if (pass !== midiPass) return;
          midiPlaying = false;
          follow();
        });
      });
    },
    stopMusic() {
      stopSource(musicSource);
      musicSource = null;
      if (midiPlaying) {
        midiPlaying = false;
        ++midiPass;
        withSynth((s) => {
          s.stopPlayer();
          s.midiAllSoundsOff();
        });
      }
      follow();
    },
    unloadMusic() {
      this.stopMusic();
      musicWave = null;
      midi = null;
    },
    setGain(music, gain) {
      const output = music ? 'music' : 'voice';
      levels[output] = gain;
      if (graph) graph[output].gain.value = gain;
    },
    // The game has ended: nothing more sounds.
    stopAll() {
      this.stopVoice();
      this.unloadMusic();
    },
    // The loudest sample of an output ('voice' or 'music') in the analyser's last window.
    peak(which) {
      if (!graph) return 0;
      const analyser = graph.analysers[which];
      const samples = new Float32Array(analyser.fftSize);
      analyser.getFloatTimeDomainData(samples);
      let peak = 0;
      for (const value of samples) peak = Math.max(peak, Math.abs(value));
      return peak;
    },
  };
})();
