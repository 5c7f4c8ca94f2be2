list(APPEND ORVANE_CORE_SOURCES
  src/sound/core/MciInterface.h src/sound/core/OutputGain.h
)
# The audio engine: mixer, outputs, sample cache and the voice commands over it.
list(APPEND ORVANE_CORE_SOURCES
  src/sound/core/AudioEngine.cpp src/sound/core/AudioEngine.h
  src/sound/core/AudioOutput.h
  src/sound/core/AudioThreadPriority.cpp src/sound/core/AudioThreadPriority.h
  src/sound/core/CommandQueue.h
  src/sound/core/FrameClock.cpp src/sound/core/FrameClock.h
  src/sound/core/Mci.cpp src/sound/core/Mci.h
  src/sound/core/Mixer.cpp src/sound/core/Mixer.h
  src/sound/core/OfflineOutput.cpp src/sound/core/OfflineOutput.h
  src/sound/core/PeakLimiter.cpp src/sound/core/PeakLimiter.h
  src/sound/core/Resampler.cpp src/sound/core/Resampler.h
  src/sound/core/SampleBuffer.cpp src/sound/core/SampleBuffer.h
  src/sound/core/SampleCache.cpp src/sound/core/SampleCache.h
  src/sound/core/OutputOpener.cpp src/sound/core/OutputOpener.h
  src/sound/core/LibraryBinding.h
  src/sound/core/SdlLibrary.cpp src/sound/core/SdlLibrary.h
  src/sound/core/SndfileLibrary.cpp src/sound/core/SndfileLibrary.h
  src/sound/core/SdlOutput.cpp src/sound/core/SdlOutput.h
  src/sound/core/JackSupport.cpp src/sound/core/JackSupport.h
  src/sound/core/JackOutput.cpp src/sound/core/JackOutput.h
  src/sound/core/SystemOutput.cpp src/sound/core/SystemOutput.h
  src/sound/core/StepSequencer.cpp src/sound/core/StepSequencer.h
)
list(APPEND ORVANE_UI_SOURCES
)
# The mixer's inner loops are written for the vector units; -O3 lets the compiler use them
# (check with objdump -d for packed instructions such as mulps/addps/cvtdq2ps).
set_source_files_properties(src/sound/core/Mixer.cpp PROPERTIES COMPILE_OPTIONS "-O3")
# Voice player, workers, volume and keys.
list(APPEND ORVANE_CORE_SOURCES
  src/sound/core/VirtualKey.cpp src/sound/core/VirtualKey.h
  src/sound/core/InputEventTime.cpp src/sound/core/InputEventTime.h
  src/sound/core/PacedOutput.cpp src/sound/core/PacedOutput.h
  src/sound/core/VoicePlayer.cpp src/sound/core/VoicePlayer.h
  src/sound/core/VoiceWorkers.cpp src/sound/core/VoiceWorkers.h
  src/sound/core/VolumeControl.cpp src/sound/core/VolumeControl.h
)
# The strip of bell pictures and the preview.
list(APPEND ORVANE_UI_SOURCES
  src/sound/ui/StripController.cpp src/sound/ui/StripController.h
  src/sound/ui/BellPreview.h
)
list(APPEND ORVANE_UI_SOURCES src/sound/ui/VoiceController.cpp src/sound/ui/VoiceController.h)
list(APPEND ORVANE_UI_SOURCES src/sound/ui/VolumeController.cpp src/sound/ui/VolumeController.h)
list(APPEND ORVANE_UI_SOURCES src/sound/ui/KeyHook.cpp src/sound/ui/KeyHook.h)
list(APPEND ORVANE_CORE_SOURCES src/sound/core/SoundFileLimits.cpp src/sound/core/SoundFileLimits.h)
# Instrument controls: the user's keys and MIDI notes, MIDI input, the keys dialog and labels.
list(APPEND ORVANE_CORE_SOURCES
  src/sound/core/KeyMap.cpp src/sound/core/KeyMap.h
  src/sound/core/MidiInput.cpp src/sound/core/MidiInput.h
  src/sound/core/MidiNoteMap.cpp src/sound/core/MidiNoteMap.h
  src/sound/core/TransportKeys.h
)
list(APPEND ORVANE_UI_SOURCES
  src/sound/ui/InstrumentController.cpp src/sound/ui/InstrumentController.h
  src/sound/ui/KeyPlate.cpp src/sound/ui/KeyPlate.h
  src/sound/ui/StripKeyLabels.cpp src/sound/ui/StripKeyLabels.h
  src/sound/ui/TfrmKeys.cpp src/sound/ui/TfrmKeys.h
)
# Instrument strokes straight from an input thread: a bank of voices and the commands' intake.
list(APPEND ORVANE_CORE_SOURCES
  src/sound/core/InstrumentSnapshot.cpp src/sound/core/InstrumentSnapshot.h
  src/sound/core/InstrumentVoices.cpp src/sound/core/InstrumentVoices.h
  src/sound/core/MultiProducerQueue.h src/sound/core/VoiceCommandIntake.h
)
