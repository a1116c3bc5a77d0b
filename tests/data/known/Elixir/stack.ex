# A stack kept in an agent.
defmodule Demo.Stack do
  @moduledoc """
  A stack. # kept as text
  """

  use Agent

  def start_link(items \\ []) do # initial items
    Agent.start_link(fn -> items end, name: __MODULE__)
  end

  def push(item) do
    IO.puts("push # #{inspect(item)}")
    Agent.update(__MODULE__, &[item | &1])
  end
end
